#include "exchange/ICalendarReader.h"

#include "platform/Files.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QDir>

#include <libical/ical.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace exchange {

namespace {

constexpr int DayStartMinutes = 8 * 60;
constexpr int DayEndMinutes = 22 * 60;
constexpr int SlotMinutes = 30;
constexpr int SlotCount = (DayEndMinutes - DayStartMinutes) / SlotMinutes;
constexpr int MinutesPerDay = 24 * 60;

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QString textOf(const char* value) {
    return value ? QString::fromUtf8(value) : QString();
}

// Whether a time is local to no zone at all ("floating"): it then means the same wall clock wherever it is read,
// here the book's.
bool isFloating(const icaltimetype& time) {
    return time.zone == nullptr && !icaltime_is_utc(time);
}

// The instant of a time as libical's spans count it: a floating time as if it were UTC, so that its wall clock
// can be read back unchanged.
time_t instantOf(const icaltimetype& time) {
    return icaltime_as_timet_with_zone(time, time.zone ? time.zone : icaltimezone_get_utc_timezone());
}

// The time of a property whose TZID the library left unresolved (RECURRENCE-ID's): in the zone the calendar
// describes under that name, else the system's zone of that name.
icaltimetype inItsZone(icalcomponent* calendar, icalproperty* property, icaltimetype time) {
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (!tzid || time.zone || icaltime_is_utc(time))
        return time;
    const char* name = icalparameter_get_tzid(tzid);
    icaltimezone* zone = icalcomponent_get_timezone(calendar, name);
    if (!zone)
        zone = icaltimezone_get_builtin_timezone_from_tzid(name);
    if (!zone)
        zone = icaltimezone_get_builtin_timezone(name);
    return zone ? icaltime_set_timezone(&time, zone) : time;
}

// A system without zone files of its own (Windows) has libical's zone descriptions shipped beside the program,
// in a folder "zoneinfo": the library is pointed at them before its first calendar, since it looks for them
// elsewhere (where the library was built). Where the folder is not there, the library keeps to the system's zone
// files. The descriptions serve a TZID the calendar names without describing it.
void useZoneDescriptionsBesideTheProgram() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!QCoreApplication::instance())
            return;
        const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/zoneinfo");
        if (!platform::notAnOrdinaryFile(folder + QStringLiteral("/zones.tab"), 1024 * 1024).isEmpty())
            return;
        const QByteArray name = platform::cRuntimeFileName(folder);
        if (!name.isEmpty())
            set_zone_directory(name.constData());
    });
}

// Cuts text to at most SlotTextSize characters as the book counts them (a character outside the basic plane is
// one), the last of them "…", never between the halves of one character.
QString cutToSlot(const QString& text, bool* shortened) {
    qsizetype characters = 0;
    qsizetype position = 0;
    qsizetype cut = -1;
    while (position < text.size()) {
        const qsizetype width =
            text.at(position).isHighSurrogate() && position + 1 < text.size() && text.at(position + 1).isLowSurrogate()
                ? 2
                : 1;
        if (characters == store::SlotTextSize - 1)
            cut = position;
        ++characters;
        position += width;
    }
    if (characters <= store::SlotTextSize)
        return text;
    if (shortened)
        *shortened = true;
    return text.left(cut) + QChar(0x2026);
}

// One calendar's events read onto the book's slots.
class SlotMapper {
public:
    SlotMapper(const CalendarReadOptions& options, CalendarReading& reading) : m_options(options), m_reading(reading) {
        m_firstDay = QDate(FirstYear, 1, 1);
        m_lastDay = QDate(LastYear, 12, 31);
        if (m_options.from.isValid())
            m_firstDay = std::max(m_firstDay, m_options.from);
        if (m_options.to.isValid())
            m_lastDay = std::min(m_lastDay, m_options.to);
    }

    // Notes every occurrence another event of the calendar replaces (RECURRENCE-ID), by the UID they share.
    void noteOverrides(icalcomponent* calendar) {
        for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
             event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            icalproperty* property = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
            if (!property)
                continue;
            const icaltimetype replaced = inItsZone(calendar, property, icalproperty_get_recurrenceid(property));
            if (!icaltime_is_null_time(replaced))
                m_overrides[textOf(icalcomponent_get_uid(event))].insert(instantOf(replaced));
        }
    }

    void readEvents(icalcomponent* calendar) {
        for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
             event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            readEvent(event);
    }

private:
    void readEvent(icalcomponent* event) {
        ++m_reading.events;
        bool shortened = false;
        m_text =
            bookedText(textOf(icalcomponent_get_summary(event)), textOf(icalcomponent_get_location(event)), &shortened);
        const icaltimetype start = icalcomponent_get_dtstart(event);
        const bool readable = !icaltime_is_null_time(start) && icaltime_is_valid_time(start);
        m_floating = readable && isFloating(start);
        const QDateTime shownStart = readable ? localOf(instantOf(start)) : QDateTime();
        if (!readable)
            return skip(SkipReason::NoTime, shownStart, shownStart);
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED)
            return skip(SkipReason::Cancelled, shownStart, shownStart);
        if (start.is_date)
            return skip(SkipReason::AllDay, shownStart, shownStart);
        if (m_text.isEmpty())
            return skip(SkipReason::NoTitle, shownStart, shownStart);
        const icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        if (rule) {
            const icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
            // Every second or minute for years is millions of occurrences the library would step through.
            if (recurrence.freq == ICAL_SECONDLY_RECURRENCE || recurrence.freq == ICAL_MINUTELY_RECURRENCE)
                return skip(SkipReason::TooFrequent, shownStart, shownStart);
            // So is a repetition from long before the calendar's years.
            if (start.year < FirstYear - 100)
                return skip(SkipReason::OutsideYears, shownStart, shownStart);
        }
        if (shortened)
            ++m_reading.shortenedTexts;
        m_uid = textOf(icalcomponent_get_uid(event));
        m_isOverride = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr;
        m_repeats = rule || icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
        if (!m_repeats) {
            // One occurrence, wherever it lies: outside the calendar's years it is listed.
            const icaltimetype end = icalcomponent_get_dtend(event);
            return occurrence(instantOf(start), icaltime_is_null_time(end) ? instantOf(start) : instantOf(end));
        }
        // The library expands the repetitions within the days taken (a day more on each side for the zones'
        // offsets); an event without any is its one occurrence.
        const icaltimetype from =
            icaltime_from_timet_with_zone(QDateTime(m_firstDay.addDays(-2), QTime(0, 0), Qt::UTC).toSecsSinceEpoch(), 0,
                                          icaltimezone_get_utc_timezone());
        const icaltimetype to =
            icaltime_from_timet_with_zone(QDateTime(m_lastDay.addDays(3), QTime(0, 0), Qt::UTC).toSecsSinceEpoch(), 0,
                                          icaltimezone_get_utc_timezone());
        icalcomponent_foreach_recurrence(event, from, to, &SlotMapper::occurrenceOf, this);
    }

    static void occurrenceOf(icalcomponent*, icaltime_span* span, void* mapper) {
        static_cast<SlotMapper*>(mapper)->occurrence(span->start, span->end);
    }

    void occurrence(time_t startInstant, time_t endInstant) {
        // An occurrence another event of the same UID replaces is that event's to book.
        if (!m_isOverride) {
            const auto replaced = m_overrides.find(m_uid);
            if (replaced != m_overrides.end() && replaced->second.contains(startInstant))
                return;
        }
        const QDateTime start = localOf(startInstant);
        const QDateTime end = localOf(std::max(startInstant, endInstant));
        const bool instant = end <= start;
        // The occurrence's days, the last one ending at midnight (an end at 00:00 belongs to the day before).
        const QDate firstDay = start.date();
        const int startMinutes = start.time().hour() * 60 + start.time().minute();
        QDate lastDay = end.date();
        int endMinutes = end.time().hour() * 60 + end.time().minute() + (end.time().second() > 0 ? 1 : 0);
        if (!instant && endMinutes == 0) {
            lastDay = lastDay.addDays(-1);
            endMinutes = MinutesPerDay;
        }
        if (lastDay < m_firstDay || firstDay > m_lastDay) {
            // The library's window has a day's margin on each side for the zones' offsets; a repetition's
            // occurrences beyond the days taken are not the calendar's to list.
            if (m_repeats)
                return;
            // Outside the calendar's years it is listed; outside the days asked for it is only counted.
            if (lastDay.year() < FirstYear || firstDay.year() > LastYear)
                skip(SkipReason::OutsideYears, start, end);
            else
                ++m_reading.outsideDays;
            return;
        }
        ++m_reading.occurrences;
        if (firstDay.daysTo(lastDay) >= LongestOccurrenceDays)
            return skip(SkipReason::TooLong, start, end);
        bool outsideYears = false;
        bool outsideHours = false;
        for (QDate day = firstDay; day <= lastDay; day = day.addDays(1)) {
            if (day.year() < FirstYear || day.year() > LastYear) {
                outsideYears = true;
                continue;
            }
            if (day < m_firstDay || day > m_lastDay)
                continue;
            const int from = day == firstDay ? startMinutes : 0;
            const int until = day == lastDay ? endMinutes : MinutesPerDay;
            if (instant ? (from < DayStartMinutes || from >= DayEndMinutes)
                        : (from < DayStartMinutes || until > DayEndMinutes))
                outsideHours = true;
            for (int slot = 0; slot < SlotCount; ++slot) {
                const int slotStart = DayStartMinutes + slot * SlotMinutes;
                const int slotEnd = slotStart + SlotMinutes;
                const bool covered =
                    instant ? (slotStart <= from && from < slotEnd) : (slotStart < until && slotEnd > from);
                if (covered)
                    m_reading.writes.push_back({day, slot, m_text});
            }
        }
        if (outsideYears)
            skip(SkipReason::OutsideYears, start, end);
        if (outsideHours)
            skip(SkipReason::OutsideHours, start, end);
    }

    QDateTime localOf(time_t instant) const {
        const QDateTime utc = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(instant), Qt::UTC);
        if (m_floating)
            return QDateTime(utc.date(), utc.time(), m_options.zone);
        return utc.toTimeZone(m_options.zone);
    }

    void skip(SkipReason reason, const QDateTime& start, const QDateTime& end) {
        m_reading.skipped.push_back({reason, m_text, start, end});
    }

    const CalendarReadOptions& m_options;
    CalendarReading& m_reading;
    QDate m_firstDay;
    QDate m_lastDay;
    std::map<QString, std::set<time_t>> m_overrides;
    // The event being read.
    QString m_text;
    QString m_uid;
    bool m_floating = false;
    bool m_isOverride = false;
    bool m_repeats = false;
};

} // namespace

QString bookedText(const QString& summary, const QString& location, bool* shortened) {
    // Control characters (line breaks and tabs among them) have no place on a slot's one line.
    const auto oneLine = [](QString text) {
        for (QChar& c : text) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                c = QLatin1Char(' ');
        }
        return text.simplified();
    };
    const QString title = oneLine(summary);
    const QString place = oneLine(location);
    QString text = title;
    if (!place.isEmpty())
        text = title.isEmpty() ? place : QStringLiteral("%1 (%2)").arg(title, place);
    return cutToSlot(text, shortened);
}

CalendarReading readCalendar(const QByteArray& text, const CalendarReadOptions& options) {
    // A malformed line becomes an X-LIC-ERROR property of its component, never an abort of the program.
    icalerror_set_errors_are_fatal(0);
    const QByteArray terminated = text + '\0';
    useZoneDescriptionsBesideTheProgram();
    Component root(icalparser_parse_string(terminated.constData()));
    icalerror_clear_errno();
    std::vector<icalcomponent*> calendars;
    if (root && icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        calendars.push_back(root.get());
    } else if (root && icalcomponent_isa(root.get()) == ICAL_XROOT_COMPONENT) {
        // Several calendars one after another in one file.
        for (icalcomponent* calendar = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             calendar; calendar = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            calendars.push_back(calendar);
    }
    if (calendars.empty())
        throw CalendarError(QCoreApplication::translate(
            "exchange", "It holds no iCalendar calendar (BEGIN:VCALENDAR … END:VCALENDAR)."));
    CalendarReading reading;
    SlotMapper mapper(options, reading);
    for (icalcomponent* calendar : calendars)
        mapper.noteOverrides(calendar);
    for (icalcomponent* calendar : calendars)
        mapper.readEvents(calendar);
    std::stable_sort(reading.writes.begin(), reading.writes.end(),
                     [](const store::SlotWrite& a, const store::SlotWrite& b) {
                         return a.day != b.day ? a.day < b.day : a.slot < b.slot;
                     });
    return reading;
}

CalendarReading readCalendarFile(const QString& path, const CalendarReadOptions& options) {
    const QString shown = QDir::toNativeSeparators(path);
    const platform::ReadFile file = platform::readOrdinaryFile(path, MaximumCalendarBytes);
    switch (file.outcome) {
    case platform::ReadFile::Outcome::Read:
        break;
    case platform::ReadFile::Outcome::Missing:
        throw CalendarError(QCoreApplication::translate("exchange", "The calendar \"%1\" is not there.").arg(shown));
    case platform::ReadFile::Outcome::TooLarge:
        throw CalendarError(QCoreApplication::translate(
                                "exchange", "The calendar \"%1\" is larger than %2 MB; nothing was read. Export fewer "
                                            "days from the other calendar.")
                                .arg(shown)
                                .arg(MaximumCalendarBytes / (1024 * 1024)));
    case platform::ReadFile::Outcome::NotAFile:
        throw CalendarError(
            QCoreApplication::translate("exchange", "\"%1\" is %2, not a calendar file; nothing was read.")
                .arg(shown, platform::kindInWords(file)));
    case platform::ReadFile::Outcome::Unreadable:
        throw CalendarError(QCoreApplication::translate("exchange", "The calendar \"%1\" could not be read (%2).")
                                .arg(shown, file.reason));
    }
    try {
        return readCalendar(file.bytes, options);
    } catch (const CalendarError& error) {
        throw CalendarError(QCoreApplication::translate("exchange", "The calendar \"%1\" could not be read: %2")
                                .arg(shown, error.text()));
    }
}

QString skipReasonText(SkipReason reason) {
    switch (reason) {
    case SkipReason::AllDay:
        return QCoreApplication::translate("exchange", "all-day event");
    case SkipReason::OutsideHours:
        return QCoreApplication::translate("exchange", "outside 08:00-22:00");
    case SkipReason::OutsideYears:
        return QCoreApplication::translate("exchange", "outside the years %1-%2").arg(FirstYear).arg(LastYear);
    case SkipReason::NoTime:
        return QCoreApplication::translate("exchange", "no readable start");
    case SkipReason::NoTitle:
        return QCoreApplication::translate("exchange", "no title");
    case SkipReason::Cancelled:
        return QCoreApplication::translate("exchange", "cancelled");
    case SkipReason::TooFrequent:
        return QCoreApplication::translate("exchange", "repeats every minute or second");
    case SkipReason::TooLong:
        return QCoreApplication::translate("exchange", "longer than %1 days").arg(LongestOccurrenceDays);
    }
    return {};
}

} // namespace exchange
