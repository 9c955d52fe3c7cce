#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

#include <vector>

namespace store {

class Connection;

// The text with every character from U+0000 to U+0020 (blanks, tabs, line breaks and other control
// characters) removed from both ends. Other white space, such as the no-break space, is kept.
QString stripBlanksAndControls(const QString& text);

// Whether a slot's text holds an appointment: anything left once blanks and control characters are
// stripped from its ends. A slot without a value, or with only blanks, is free.
bool holdsAppointment(const QString& text);

// The text of a slot's value as a filled slot holds it (without the blanks and control characters at its ends);
// nothing when the value holds no appointment.
std::optional<QString> appointmentText(const QString& value);

// The day a record's stored date names, read as the engines' values read it: 'yyyy-mm-dd' by hand (every record
// of a whole read passes here), any other text as QVariant::toDate() reads it. Invalid when it names no day: such
// a record is no day of the book.
QDate storedDay(const QString& text);

// One slot of the book that holds an appointment.
struct FilledSlot {
    QDate date;
    int slot = 0; // 0 for 08:00-08:30 … 27 for 21:30-22:00, the order of slotColumnNames()
    QString text; // as stored, without the blanks and control characters at its ends
};

// The half hour a slot (0 … 27) covers.
QTime slotStart(int slot);
QTime slotEnd(int slot);
// "10:00 - 10:30", as the day window captions the slot.
QString slotTimeText(int slot);

// Every filled slot of the book, in date and then time order, read on an open connection through one
// query of the whole appointment table; works the same on every engine. Throws EngineError.
std::vector<FilledSlot> readFilledSlots(Connection& connection);

// The filled slots of the days from first to last (both included), in date and then time order, read through
// one query of those days' records only (a week window's read: one round trip on a server, one statement on
// the file, however many days the book holds). Nothing when last is before first. Throws EngineError.
std::vector<FilledSlot> readFilledSlots(Connection& connection, QDate first, QDate last);

// The filled slots of a book on their way to a file: each slot's text as the engine holds it, UTF-8 without the
// blanks and control characters at its ends, kept in one buffer (no Qt string per slot), in date and then time
// order once sorted.
class FilledSlotTexts {
public:
    struct Slot {
        QDate date;
        int slot = 0;       // as FilledSlot::slot
        qsizetype at = 0;   // where its text starts in the buffer
        qsizetype size = 0; // its length in bytes
    };

    // Adds a slot; its text is taken as it is (the caller has stripped it).
    void append(QDate date, int slot, QByteArrayView text);
    // Puts the slots in date order, keeping the order of the slots of one date.
    void sortByDate();

    const std::vector<Slot>& entries() const { return m_slots; }
    QByteArrayView text(const Slot& slot) const { return QByteArrayView(m_texts).sliced(slot.at, slot.size); }
    bool empty() const { return m_slots.empty(); }
    std::size_t size() const { return m_slots.size(); }

    // The same slots as filled, in the same order, their texts made UTF-8.
    static FilledSlotTexts of(const std::vector<FilledSlot>& filled);

private:
    QByteArray m_texts;
    std::vector<Slot> m_slots;
};

// The filled slots of the days from first to last (an invalid date: no bound on that side), as
// readFilledSlots(connection) finds them, read through one query of the whole table whose values go from the
// engine into the buffer as they are stored. Throws EngineError.
FilledSlotTexts readFilledSlotTexts(Connection& connection, QDate first = QDate(), QDate last = QDate());

} // namespace store
