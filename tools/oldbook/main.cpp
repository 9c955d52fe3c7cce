// orvella-oldbook-reader OLD.mdb: reads an older appointment book for Orvella and orvella-datafolder, which
// start it and take what it writes (never run by hand). It runs in a process of its own because the library
// that reads Jet files can crash, loop or take all memory on a damaged file: here that ends this process only,
// within the bounds it sets itself (memory) and its parent's (time). The expected password comes in the
// environment. It writes the table's description and every record, decoded, to its standard output, then
// the end, or the reason the book is refused; the library's warnings go to its standard error, which the
// parent keeps away from the terminal.
#include "legacy/JetBook.h"
#include "legacy/OlderBookReading.h"
#include "platform/Failure.h"
#include "platform/Process.h"
#include "resources/Catalogue.h"

#include <QCoreApplication>

#include <new>

namespace {

// Records go out in pieces of about this size, so that the parent reads while the book is being read.
constexpr qsizetype PieceBytes = 64 * 1024;

class Output {
public:
    void put(const QByteArray& bytes) {
        m_pending += bytes;
        if (m_pending.size() >= PieceBytes)
            flush();
    }
    void flush() {
        platform::writeData(m_pending);
        m_pending.clear();
    }

private:
    QByteArray m_pending;
};

} // namespace

int main(int argc, char* argv[]) {
    // Before anything of the file is touched.
    platform::boundThisProcess(legacy::ReadingMemoryCap);
    if (!platform::keepStandardOutputForData())
        return 3;
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariable(legacy::HelperLanguageVariable) == QLatin1String("el"))
        catalogue::useGreek();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2)
        return 2;
    const QString password = qEnvironmentVariable(legacy::HelperPasswordVariable);
    Output output;
    try {
        legacy::JetBook book(arguments[1], password);
        output.put(legacy::HelperStream::opening(book.format(), book.ignoredColumns()));
        legacy::JetRecord record;
        while (book.next(record))
            output.put(legacy::HelperStream::record(record));
        output.put(legacy::HelperStream::end());
    } catch (const platform::Failure& failure) {
        output.put(legacy::HelperStream::refusal(failure.text()));
    } catch (const std::bad_alloc&) {
        output.flush();
        return 4; // out of memory: the parent names the file as damaged
    }
    output.flush();
    return 0;
}
