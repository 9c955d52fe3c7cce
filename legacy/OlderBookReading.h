#pragma once

#include "legacy/JetBook.h"
#include "legacy/JetHeader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace legacy {

// The records of an older book as the reading helper sent them, kept in the compact form they came in (about
// the size of the older file) and read one at a time, by the import and again by its check.
class OlderBookRecords {
public:
    QString path;
    JetHeader::Format format = JetHeader::Format::NotJet;
    QStringList ignoredColumns;
    qint64 count = 0; // the records sent

    // Reads the records in their order: next() fills record and is false after the last.
    class Cursor {
    public:
        bool next(JetRecord& record);

    private:
        friend class OlderBookRecords;
        Cursor(const QByteArray* bytes, qsizetype at) : m_bytes(bytes), m_at(at) {}
        const QByteArray* m_bytes;
        qsizetype m_at;
    };
    Cursor records() const { return Cursor(&m_bytes, m_first); }

    // What the helper's output was: a whole reading, the helper's own refusal (its message), or cut short (where
    // the reading stopped, in words).
    struct Reply {
        enum class State { Whole, Refused, Cut };
        State state = State::Cut;
        QString refusal;
        QString where;
    };
    // Takes what the helper wrote into records (whole or not).
    static Reply take(const QString& path, QByteArray output, OlderBookRecords& records);

private:
    QByteArray m_bytes;
    qsizetype m_first = 0;
};

// What the reading helper writes, piece by piece: the table's description, each record, then the end or the
// reason it could not go on.
namespace HelperStream {
QByteArray opening(JetHeader::Format format, const QStringList& ignoredColumns);
QByteArray record(const JetRecord& record);
QByteArray end();
QByteArray refusal(const QString& message);
} // namespace HelperStream

// Reads the older book at path in the reading helper (a process of its own, capped in time and memory, its
// library's warnings kept away from the terminal), so that a damaged book that crashes, loops in or blows up
// the library ends the helper only. Throws ImportError naming the file: the helper's own refusals as they are,
// and a helper that crashed, ran too long or grew too large as damage, with nothing changed.
OlderBookRecords readOlderBook(const QString& path, const QString& expectedPassword);

// Bounds of one reading: time, the helper's memory, and the most it may send.
inline constexpr int ReadingTimeLimitMs = 8000;
inline constexpr qint64 ReadingMemoryCap = qint64(768) * 1024 * 1024;
inline constexpr qint64 ReadingOutputCap = qint64(1024) * 1024 * 1024;

// The reading helper's program: beside this one, in ../libexec/orvella, or where the build put it.
QString readingHelperProgram();

// The variable that passes the expected password to the helper (not on its command line, where other users of
// the machine could read it).
inline constexpr char HelperPasswordVariable[] = "ORVELLA_OLDBOOK_PASSWORD";
// The language the helper writes its refusals in: "el" when the program that starts it speaks Greek.
inline constexpr char HelperLanguageVariable[] = "ORVELLA_OLDBOOK_LANGUAGE";

} // namespace legacy
