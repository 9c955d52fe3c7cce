// Every entry point that opens a file the user (or someone else) put in its way, met with what is not an
// ordinary file or is far too large: a named pipe, a device, a loop of links, a 2 GB file. Each must refuse
// within a bound, write nothing, and never wait on the file: the older-book check at start-up, the older
// book's reading, the import's source (library and tool), the start-up conversion's data.mdb, a backup's check
// and a restore's source.

#include "tests/legacy/LegacyTestSupport.h"

#include "app/OldBookOffer.h"
#include "legacy/BookImport.h"
#include "legacy/ImportError.h"
#include "legacy/JetBook.h"
#include "store/backup/Restore.h"
#include "store/cipher/DatabaseFile.h"
#include "store/cipher/IntegrityCheck.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Password = QStringLiteral("Kw73Tp");
constexpr auto Bound = std::chrono::seconds(10);

// Makes the hostile thing at path.
bool makeHostile(const QString& kind, const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(name.constData(), 0600) == 0;
    if (kind == QLatin1String("device"))
        return QFile::link(QStringLiteral("/dev/zero"), path);
    if (kind == QLatin1String("link loop"))
        return QFile::link(path + QStringLiteral(".other"), path) && QFile::link(path, path + QStringLiteral(".other"));
    // A file past the largest Jet file, sparse: it takes no room on the disk. It begins as an older book does.
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(QByteArray::fromHex("000100005374616e64617264204a6574204442")) > 0 &&
           file.resize(legacy::JetHeader::LargestFile + 4096);
}

} // namespace

class HostileFileTest : public QObject {
    Q_OBJECT

private slots:
    void refusedWithinABound_data();
    void refusedWithinABound();
};

void HostileFileTest::refusedWithinABound_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("kind");
    const QStringList entries{QStringLiteral("older-book check"),       QStringLiteral("older-book reading"),
                              QStringLiteral("import into a new book"), QStringLiteral("import into a book"),
                              QStringLiteral("start-up conversion"),    QStringLiteral("tool --import"),
                              QStringLiteral("backup check"),           QStringLiteral("restore source")};
    for (const QString& entry : entries) {
        for (const char* kind : {"fifo", "device", "link loop", "oversize"})
            QTest::newRow(qPrintable(entry + QStringLiteral(", ") + QLatin1String(kind)))
                << entry << QString::fromLatin1(kind);
    }
}

void HostileFileTest::refusedWithinABound() {
    QFETCH(QString, entry);
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    // The hostile file stands as a data folder's data.mdb, the place the start-up conversion reads.
    const QString hostile = folder.filePath(QStringLiteral("data.mdb"));
    QVERIFY(makeHostile(kind, hostile));
    QTemporaryDir other;
    const QString book = QDir(other.path()).filePath(QStringLiteral("data.mdb"));
    store::createDatabaseFile(book, Password);
    const QByteArray bookBefore = [&] {
        QFile file(book);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);

    if (entry == QLatin1String("tool --import")) {
        QProcess tool;
        const QString made = QDir(other.path()).filePath(QStringLiteral("new"));
        tool.start(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), {QStringLiteral("--import"), hostile, made});
        QVERIFY2(tool.waitForFinished(10000), "the tool waited on the file");
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(!QFileInfo::exists(made));
    } else {
        // Run off this thread, so that a wait on the file fails the test instead of hanging it.
        auto refused = std::make_shared<std::promise<QString>>();
        std::future<QString> answer = refused->get_future();
        const QString otherPath = other.path();
        const QString folderPath = folder.path();
        std::thread([=] {
            QString why;
            try {
                if (entry == QLatin1String("older-book check"))
                    why = OldBookOffer::isOlderBook(hostile) ? QString() : QStringLiteral("not an older book");
                else if (entry == QLatin1String("older-book reading"))
                    legacy::JetBook(hostile, Password);
                else if (entry == QLatin1String("import into a new book"))
                    legacy::BookImport::intoNewBook(hostile, Password,
                                                    QDir(otherPath).filePath(QStringLiteral("n.mdb")));
                else if (entry == QLatin1String("import into a book"))
                    legacy::BookImport::intoExistingBook(hostile, Password, book);
                else if (entry == QLatin1String("start-up conversion"))
                    legacy::BookImport::convertDataFolder(folderPath, Password, QDate(2026, 12, 10));
                else if (entry == QLatin1String("backup check"))
                    why = store::checkBookFile(hostile, Password, true);
                else if (entry == QLatin1String("restore source"))
                    why = store::restoreBackup(hostile, otherPath).problem;
            } catch (const std::exception& error) {
                why = QString::fromUtf8(error.what());
            }
            refused->set_value(why);
        }).detach();
        if (answer.wait_for(Bound) != std::future_status::ready) {
            // Let a reader stuck on the pipe go, so that the rows after this one still run.
            const int writer = ::open(QFile::encodeName(hostile).constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
            QFAIL("the entry point waited on the file");
        }
        const QString why = answer.get();
        QVERIFY2(!why.isEmpty(), "the hostile file was taken");
        // The refusal says what the file is instead (the check at start-up only says no).
        if (entry != QLatin1String("older-book check") && entry != QLatin1String("restore source") &&
            entry != QLatin1String("backup check") && kind != QLatin1String("oversize"))
            QVERIFY2(why.contains(kind == QLatin1String("fifo")     ? QStringLiteral("named pipe")
                                  : kind == QLatin1String("device") ? QStringLiteral("device")
                                                                    : QStringLiteral("loop")),
                     qPrintable(why));
    }
    // Nothing was written: not beside the hostile file, not in the book's folder.
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QFile after(book);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), bookBefore);
    QCOMPARE(QDir(other.path()).entryList(QDir::Files | QDir::Hidden).size(),
             1 + (entry == QLatin1String("restore source") ? 1 : 0));
}

QTEST_MAIN(HostileFileTest)
#include "HostileFileTest.moc"
