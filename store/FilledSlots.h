#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <vector>

namespace store {

class Connection;

// The text with every character from U+0000 to U+0020 (blanks, tabs, line breaks and other control
// characters) removed from both ends. Other white space, such as the no-break space, is kept.
QString stripBlanksAndControls(const QString& text);

// Whether a slot's text holds an appointment: anything left once blanks and control characters are
// stripped from its ends. A slot without a value, or with only blanks, is free.
bool holdsAppointment(const QString& text);

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

} // namespace store
