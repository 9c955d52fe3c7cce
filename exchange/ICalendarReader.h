#pragma once

#include "platform/Failure.h"
#include "store/SlotBooking.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <vector>

// Calendars of other programs (.ics, RFC 5545) read onto the book's half hours: each event's occurrences, its
// repetitions expanded by libical (RRULE, RDATE, EXDATE, RECURRENCE-ID overrides), in local time of the book's
// zone, become one slot write per half hour they cover.
namespace exchange {

// A calendar that cannot be read at all: not a file, too large, not iCalendar text.
class CalendarError : public platform::Failure {
public:
    using platform::Failure::Failure;
};

struct CalendarReadOptions {
    // The zone the book's times are local to (Europe/Athens unless told otherwise).
    QTimeZone zone;
    // Only the days from `from` to `to` (both included; either may be left out) are booked; repetitions without
    // an end are expanded within them and the book's calendar (FirstYear to LastYear).
    QDate from;
    QDate to;
};

// The years the book's calendar shows; events outside them are not booked.
inline constexpr int FirstYear = 2008;
inline constexpr int LastYear = 2035;
// The largest calendar file read: about sixty thousand events.
inline constexpr qint64 MaximumCalendarBytes = 16 * 1024 * 1024;
// An occurrence longer than this is taken for a mistake (or a hostile file), not for every half hour it spans.
inline constexpr int LongestOccurrenceDays = 7;

// Why an event, an occurrence of it or a part of one is not booked.
enum class SkipReason {
    AllDay,       // a day, not hours: the book has no all-day place
    OutsideHours, // the part before 08:00 or after 22:00
    OutsideYears, // before FirstYear or after LastYear
    NoTime,       // no start the library could read
    NoTitle,      // neither SUMMARY nor LOCATION
    Cancelled,    // STATUS:CANCELLED
    TooFrequent,  // repeats every minute or second
    TooLong,      // longer than LongestOccurrenceDays
};

struct SkippedEvent {
    SkipReason reason;
    QString text;    // the text it would have been booked with (may be empty)
    QDateTime start; // local to the book's zone; invalid when the event has no readable start
    QDateTime end;
};

struct CalendarReading {
    std::vector<store::SlotWrite> writes; // in day and half-hour order
    std::vector<SkippedEvent> skipped;
    int events = 0;         // events (VEVENT) in the file, overrides of one occurrence included
    int occurrences = 0;    // occurrences within the days taken, after expansion
    int outsideDays = 0;    // occurrences wholly outside --from/--to: left out, not listed
    int shortenedTexts = 0; // texts cut to what a slot holds
};

// The text an event is booked with: its SUMMARY, then its LOCATION in parentheses when it has one ("Dentist
// (Room 2)"); control characters and runs of blanks become one blank, and a text longer than a slot holds is
// cut, ending in "…". Empty when both are empty.
QString bookedText(const QString& summary, const QString& location, bool* shortened = nullptr);

// Reads iCalendar text. Throws CalendarError when it holds no calendar.
CalendarReading readCalendar(const QByteArray& text, const CalendarReadOptions& options);

// Reads the calendar file at path: an ordinary file (never a pipe or a device, which could keep the reader
// waiting) of at most MaximumCalendarBytes. Throws CalendarError naming the file.
CalendarReading readCalendarFile(const QString& path, const CalendarReadOptions& options);

// What a skip reason means, for a person.
QString skipReasonText(SkipReason reason);

} // namespace exchange
