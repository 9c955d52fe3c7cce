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
#include <QtEndian>

#include <cstring>

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

// Reads what the helper wrote with QDataStream (version StreamVersion: numbers big-endian, a flag one byte, a text
// its length in bytes, or 0xffffffff for a null text, then its UTF-16 units big-endian) by hand, straight from
// the bytes: the import reads every record two or three times, and a QDataStream over a buffer costs a device
// read per field.
class StreamReader {
public:
    StreamReader(const QByteArray& bytes, qsizetype at) : m_data(bytes.constData()), m_size(bytes.size()), m_at(at) {}

    bool ok() const { return m_ok; }
    qsizetype at() const { return m_at; }

    template <typename Number> Number number() {
        const char* bytes = take(sizeof(Number));
        return bytes ? qFromBigEndian<Number>(bytes) : Number();
    }
    bool flag() { return number<qint8>() != 0; }
    double real() {
        const auto bits = number<quint64>();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    QString text() {
        const auto length = number<quint32>();
        if (length == 0xffffffffu || !m_ok)
            return QString();
        const char* bytes = length % 2 == 0 ? take(length) : nullptr;
        if (!bytes)
            return QString();
        QString text(static_cast<qsizetype>(length / 2), Qt::Uninitialized);
        qFromBigEndian<char16_t>(bytes, text.size(), text.data());
        return text;
    }
    // Steps over a text, checking only that it is whole.
    void skipText() {
        const auto length = number<quint32>();
        if (length != 0xffffffffu && m_ok && (length % 2 != 0 || !take(length)))
            m_ok = false;
    }
    QStringList texts() {
        QStringList list;
        const auto count = number<quint32>();
        for (quint32 i = 0; i < count && m_ok; ++i)
            list << text();
        return list;
    }

private:
    const char* take(qsizetype count) {
        if (!m_ok || count > m_size - m_at) {
            m_ok = false;
            return nullptr;
        }
        const char* bytes = m_data + m_at;
        m_at += count;
        return bytes;
    }

    const char* m_data;
    qsizetype m_size;
    qsizetype m_at;
    bool m_ok = true;
};

// Reads one record's fields after its tag; false when the stream ends or is not whole. Without texts, only its
// number and date are kept and its slots only checked to be whole.
bool readRecord(StreamReader& stream, JetRecord& record, bool withTexts = true) {
    record.number = stream.number<qint64>();
    const bool hasDate = stream.flag();
    const double date = stream.real();
    record.date = hasDate ? std::optional<double>(date) : std::nullopt;
    for (auto& slot : record.slotTexts) {
        const bool has = stream.flag();
        if (!withTexts) {
            if (has)
                stream.skipText();
            continue;
        }
        if (has)
            slot = stream.text();
        else
            slot.reset();
    }
    return stream.ok();
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
    // The bytes QDataStream would write (see StreamReader), written by hand into one buffer of the right size: the
    // helper writes one of these for every record.
    qsizetype size = 1 + 8 + 1 + 8;
    for (const auto& slot : record.slotTexts)
        size += 1 + (slot ? 4 + 2 * slot->size() : 0);
    QByteArray bytes(size, Qt::Uninitialized);
    char* out = bytes.data();
    const auto put = [&out](auto value) {
        qToBigEndian(value, out);
        out += sizeof value;
    };
    put(qint8(RecordTag));
    put(qint64(record.number));
    put(qint8(record.date.has_value() ? 1 : 0));
    quint64 date = 0;
    const double value = record.date.value_or(0.0);
    std::memcpy(&date, &value, sizeof date);
    put(date);
    for (const auto& slot : record.slotTexts) {
        put(qint8(slot ? 1 : 0));
        if (!slot)
            continue;
        if (slot->isNull()) {
            put(quint32(0xffffffffu));
            continue;
        }
        put(quint32(2 * slot->size()));
        qToBigEndian<char16_t>(slot->utf16(), slot->size(), out);
        out += 2 * slot->size();
    }
    return bytes;
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
    StreamReader stream(*m_bytes, m_at);
    if (stream.number<qint8>() != RecordTag || !readRecord(stream, record)) {
        m_at = m_bytes->size();
        return false;
    }
    m_at = stream.at();
    return true;
}

OlderBookRecords::Reply OlderBookRecords::take(const QString& path, QByteArray output, OlderBookRecords& records) {
    Reply reply;
    records = OlderBookRecords();
    records.path = path;
    StreamReader stream(output, 0);
    JetRecord last;
    const auto refused = [&] {
        reply.refusal = stream.text();
        reply.state = stream.ok() ? Reply::State::Refused : Reply::State::Cut;
        reply.where = describeRecord(records.count, last);
        return reply;
    };
    auto tag = stream.number<qint8>();
    if (tag == RefusalTag)
        return refused();
    const auto mark = stream.number<quint32>();
    const auto format = stream.number<qint8>();
    records.ignoredColumns = stream.texts();
    reply.where = describeRecord(0, last);
    if (tag != OpeningTag || mark != StreamMark || !stream.ok())
        return reply;
    records.format = static_cast<JetHeader::Format>(format);
    records.m_first = stream.at();
    for (;;) {
        const qsizetype at = stream.at();
        tag = stream.number<qint8>();
        if (stream.ok() && tag == EndTag) {
            output.truncate(at); // the cursor stops where the records end
            break;
        }
        if (stream.ok() && tag == RefusalTag)
            return refused();
        // Checked whole here; the texts are read when the records are.
        if (!stream.ok() || tag != RecordTag || !readRecord(stream, last, false)) {
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
    // The helper's refusals reach the user as they are: in the language of the program that asked, which the
    // catalogue names by translating this "en" (to "el" where the Greek one is installed).
    const QString language = QCoreApplication::translate("catalogue", "en");
    const platform::HelperRun run = platform::runHelper(
        program, {QFileInfo(path).absoluteFilePath()},
        {{QLatin1String(HelperPasswordVariable), expectedPassword}, {QLatin1String(HelperLanguageVariable), language}},
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
