#pragma once

#include "store/FilledSlots.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <vector>

// The book as an iCalendar file (RFC 5545) that other calendars import: one event of half an hour per filled
// slot, in local time of a named time zone whose rules travel with the file.
namespace exchange {

struct CalendarOptions {
    // The zone the book's times are local to; its rules are written into the file as a VTIMEZONE.
    QTimeZone zone;
    // When the file was made; written as every event's DTSTAMP.
    QDateTime stamp;
};

// A TEXT value: backslash, semicolon and comma escaped, every line break (CR LF, LF or CR) written as \n,
// other control characters (which the format does not allow) as a blank.
QByteArray escapeText(const QString& text);
// The same of a UTF-8 text, appended to line.
void appendEscapedText(QByteArray& line, QByteArrayView utf8);

// One content line (without its line end) folded as the format asks: lines of at most 75 octets, each
// continuation starting with a blank, never splitting a UTF-8 character; every line ends in CR LF.
QByteArray foldLine(const QByteArray& line);
// The same, appended to text.
void appendFoldedLine(QByteArray& text, QByteArrayView line);

// The identity of a slot's event, the same at every export, so that a calendar importing the file again
// updates the event instead of adding a second one: "20100305-1000@orvella.quenmark".
QByteArray eventUid(QDate date, int slot);

// The VTIMEZONE component (folded, CR LF line ends) describing `zone` from the start of `firstYear` to the end
// of `lastYear`, made from the system's zone data: the offset in force at the start and every change of
// offset in between.
QByteArray timeZoneComponent(const QTimeZone& zone, int firstYear, int lastYear);

// The whole calendar: the time zone, then one event per slot.
QByteArray calendarText(const store::FilledSlotTexts& filled, const CalendarOptions& options);
QByteArray calendarText(const std::vector<store::FilledSlot>& filled, const CalendarOptions& options);

} // namespace exchange
