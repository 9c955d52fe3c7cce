#include "legacy/OlderBookReading.h"

#include "legacy/ImportError.h"
#include "legacy/JetDate.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace legacy {

namespace {

constexpr quint32 StreamMark = 0x4f524a31; // "ORJ1"
constexpr auto StreamVersion = QDataStream::Qt_6_4;
constexpr char OpeningTag = 'O';
constexpr char RecordTag = 'R';
constexpr char EndTag = 'E';
constexpr char RefusalTag = 'F';

template <typename Write> QByteArray piece(Write&& write) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(StreamVersion);
    write(stream);
    return bytes;
}

// Reads one record's fields after its tag; false when the stream ends or is not whole.
bool readRecord(QDataStream& stream, JetRecord& record) {
    bool hasDate = false;
    double date = 0;
    stream >> record.number >> hasDate >> date;
    record.date = hasDate ? std::optional<double>(date) : std::nullopt;
    for (auto& slot : record.slotTexts) {
        bool has = false;
        stream >> has;
        if (has) {
            QString text;
            stream >> text;
            slot = std::move(text);
        } else {
            slot.reset();
        }
    }
    return stream.status() == QDataStream::Ok;
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString describeRecord(qint64 count, const JetRecord& last) {
    if (count == 0)
        return QCoreApplication::translate("legacy", "its tables or its first record are kept");
    const QDate day = last.date ? jetDay(*last.date) : QDate();
    return QCoreApplication::translate("legacy", "record %1 is kept (after the %2 records read, the last for %3)")
        .arg(count + 1)
        .arg(count)
        .arg(day.isValid() ? day.toString(QStringLiteral("d/M/yyyy")) : QCoreApplication::translate("legacy", "no day"));
}

[[noreturn]] void damaged(const QString& path, const QString& where, const QString& how) {
    throw OlderBookRefused(QCoreApplication::translate("legacy", "The older book \"%1\" is damaged where %2: reading it %3, and nothing was "
                                          "changed. Repair it with the older program, or use a backup copy.")
                               .arg(native(path), where, how));
}

} // namespace

namespace HelperStream {

QByteArray opening(JetHeader::Format format, const QStringList& ignoredColumns) {
    return piece(
        [&](QDataStream& stream) { stream << qint8(OpeningTag) << StreamMark << qint8(format) << ignoredColumns; });
}

QByteArray record(const JetRecord& record) {
    return piece([&](QDataStream& stream) {
        stream << qint8(RecordTag) << record.number << record.date.has_value() << record.date.value_or(0.0);
        for (const auto& slot : record.slotTexts) {
            stream << slot.has_value();
            if (slot)
                stream << *slot;
        }
    });
}

QByteArray end() {
    return piece([](QDataStream& stream) { stream << qint8(EndTag); });
}

QByteArray refusal(const QString& message) {
    return piece([&](QDataStream& stream) { stream << qint8(RefusalTag) << message; });
}

} // namespace HelperStream

bool OlderBookRecords::Cursor::next(JetRecord& record) {
    if (m_at >= m_bytes->size())
        return false;
    QDataStream stream(*m_bytes);
    stream.setVersion(StreamVersion);
    stream.skipRawData(static_cast<int>(m_at));
    qint8 tag = 0;
    stream >> tag;
    if (tag != RecordTag || !readRecord(stream, record)) {
        m_at = m_bytes->size();
        return false;
    }
    m_at = stream.device()->pos();
    return true;
}

OlderBookRecords::Reply OlderBookRecords::take(const QString& path, QByteArray output, OlderBookRecords& records) {
    Reply reply;
    records = OlderBookRecords();
    records.path = path;
    QDataStream stream(output);
    stream.setVersion(StreamVersion);
    qint8 tag = 0;
    quint32 mark = 0;
    qint8 format = 0;
    JetRecord last;
    const auto refused = [&] {
        stream >> reply.refusal;
        reply.state = stream.status() == QDataStream::Ok ? Reply::State::Refused : Reply::State::Cut;
        reply.where = describeRecord(records.count, last);
        return reply;
    };
    stream >> tag;
    if (tag == RefusalTag)
        return refused();
    stream >> mark >> format >> records.ignoredColumns;
    reply.where = describeRecord(0, last);
    if (tag != OpeningTag || mark != StreamMark || stream.status() != QDataStream::Ok)
        return reply;
    records.format = static_cast<JetHeader::Format>(format);
    records.m_first = stream.device()->pos();
    for (;;) {
        const qsizetype at = stream.device()->pos();
        stream >> tag;
        if (stream.status() == QDataStream::Ok && tag == EndTag) {
            output.truncate(at); // the cursor stops where the records end
            break;
        }
        if (stream.status() == QDataStream::Ok && tag == RefusalTag)
            return refused();
        if (stream.status() != QDataStream::Ok || tag != RecordTag || !readRecord(stream, last)) {
            reply.where = describeRecord(records.count, last);
            return reply;
        }
        ++records.count;
    }
    records.m_bytes = std::move(output);
    reply.state = Reply::State::Whole;
    return reply;
}

QString readingHelperProgram() {
    const QString name = QStringLiteral("orvella-oldbook-reader") + QLatin1String(ORVELLA_EXECUTABLE_SUFFIX);
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {QDir(here).filePath(name), QDir(here).filePath(QStringLiteral("../libexec/orvella/") + name)}) {
        if (platform::lookAt(candidate).kind == platform::EntryKind::File)
            return QDir::cleanPath(candidate);
    }
    return QStringLiteral(ORVELLA_READING_HELPER_BUILT);
}

OlderBookRecords readOlderBook(const QString& path, const QString& expectedPassword) {
    // What the path leads to is looked at before any process opens it: a pipe or a device is refused here.
    JetBook::requireReadableFile(path);
    const QString program = readingHelperProgram();
    const platform::HelperRun run = platform::runHelper(program, {QFileInfo(path).absoluteFilePath()},
                                                        {{QLatin1String(HelperPasswordVariable), expectedPassword}},
                                                        ReadingTimeLimitMs, ReadingOutputCap);
    OlderBookRecords records;
    const OlderBookRecords::Reply reply = OlderBookRecords::take(path, run.output, records);
    // The helper's own refusal (not a Jet file, a wrong password, a record it cannot read faithfully) is a whole
    // message, whatever became of the helper afterwards.
    if (reply.state == OlderBookRecords::Reply::State::Refused)
        throw OlderBookRefused(reply.refusal);
    QString how;
    switch (run.outcome) {
    case platform::HelperRun::Outcome::NotStarted:
        throw ImportError(QCoreApplication::translate("legacy", "The older book \"%1\" could not be read: the program that reads it, "
                                         "\"%2\", could not be started (%3). Nothing was changed. Install Orvella "
                                         "again.")
                              .arg(native(path), native(program), run.reason));
    case platform::HelperRun::Outcome::TimedOut:
        how = QCoreApplication::translate("legacy", "did not end within %1 seconds").arg(ReadingTimeLimitMs / 1000);
        break;
    case platform::HelperRun::Outcome::TooMuchOutput:
        how = QCoreApplication::translate("legacy", "gave more than %1 MB").arg(ReadingOutputCap / (1024 * 1024));
        break;
    case platform::HelperRun::Outcome::Crashed:
        how = QCoreApplication::translate("legacy", "crashed (or needed more than %1 MB of memory)").arg(ReadingMemoryCap / (1024 * 1024));
        break;
    case platform::HelperRun::Outcome::Finished:
        if (run.exitCode == 0 && reply.state == OlderBookRecords::Reply::State::Whole)
            return records;
        how = run.exitCode == 0 ? QCoreApplication::translate("legacy", "stopped on the way")
                                : QCoreApplication::translate("legacy", "stopped with an error (%1)").arg(run.exitCode);
        break;
    }
    damaged(path, reply.where, how);
}

} // namespace legacy
