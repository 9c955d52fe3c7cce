#include "exchange/ICalendarWriter.h"

#include <QTimeZone>

#include <algorithm>
#include <tuple>

namespace exchange {

namespace {

constexpr int MaxLineOctets = 75;

// "+0200", or "+051721" for the odd zone whose offset has seconds.
QByteArray offsetText(int seconds) {
    const char sign = seconds < 0 ? '-' : '+';
    const int magnitude = seconds < 0 ? -seconds : seconds;
    QByteArray text = sign + QByteArray::number(magnitude / 3600).rightJustified(2, '0') +
                      QByteArray::number(magnitude / 60 % 60).rightJustified(2, '0');
    if (magnitude % 60 != 0) {
        text += QByteArray::number(magnitude % 60).rightJustified(2, '0');
    }
    return text;
}

// Appends `value` in decimal with at least `width` digits; the writers call it for every event, where
// QDate::toString's format parsing would cost more than the rest of the event.
void appendNumber(QByteArray& text, int value, int width) {
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && count < 12);
    for (int pad = count; pad < width; ++pad) {
        text += '0';
    }
    while (count > 0) {
        text += digits[--count];
    }
}

QByteArray dateDigits(QDate date) {
    QByteArray text;
    appendNumber(text, date.year(), 4);
    appendNumber(text, date.month(), 2);
    appendNumber(text, date.day(), 2);
    return text;
}

// A local date and time in the format's basic form, 20100305T100000.
QByteArray localText(QDate date, QTime time) {
    QByteArray text = dateDigits(date);
    text += 'T';
    appendNumber(text, time.hour(), 2);
    appendNumber(text, time.minute(), 2);
    appendNumber(text, time.second(), 2);
    return text;
}

// A parameter value, quoted when it holds a character that would end it.
QByteArray parameterValue(const QString& value) {
    QByteArray text = value.toUtf8();
    text.replace('"', "'");
    if (text.contains(':') || text.contains(';') || text.contains(',')) {
        return '"' + text + '"';
    }
    return text;
}

// One change of offset, as a VTIMEZONE writes it.
struct Onset {
    bool daylight = false;
    int offsetFrom = 0;
    int offsetTo = 0;
    QString name;
    QByteArray localStart; // the moment of the change on the clock before it

    auto kind() const { return std::tie(daylight, offsetFrom, offsetTo, name); }
};

} // namespace

void appendEscapedText(QByteArray& escaped, QByteArrayView utf8) {
    qsizetype plain = 0; // the start of the bytes not yet written, which need no escape
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const bool control = (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f;
        if (!control && c != '\\' && c != ';' && c != ',')
            continue;
        escaped.append(utf8.sliced(plain, i - plain));
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case ';':
            escaped += "\\;";
            break;
        case ',':
            escaped += "\\,";
            break;
        case '\r':
            // CR LF is one line break.
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') {
                ++i;
            }
            escaped += "\\n";
            break;
        case '\n':
            escaped += "\\n";
            break;
        default:
            escaped += ' ';
        }
        plain = i + 1;
    }
    escaped.append(utf8.sliced(plain));
}

QByteArray escapeText(const QString& text) {
    QByteArray escaped;
    appendEscapedText(escaped, text.toUtf8());
    return escaped;
}

void appendFoldedLine(QByteArray& folded, QByteArrayView line) {
    if (line.size() <= MaxLineOctets) {
        folded.append(line);
        folded += "\r\n";
        return;
    }
    qsizetype start = 0;
    bool first = true;
    do {
        // A continuation line's leading blank counts towards its 75 octets.
        const qsizetype room = first ? MaxLineOctets : MaxLineOctets - 1;
        qsizetype end = std::min(start + room, line.size());
        // Never cut before a continuation byte: the cut would split a character.
        while (end < line.size() && end > start + 1 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) {
            --end;
        }
        if (!first) {
            folded += ' ';
        }
        folded.append(line.sliced(start, end - start));
        folded += "\r\n";
        start = end;
        first = false;
    } while (start < line.size());
}

QByteArray foldLine(const QByteArray& line) {
    QByteArray folded;
    folded.reserve(line.size() + line.size() / 70 * 3 + 2);
    appendFoldedLine(folded, line);
    return folded;
}

QByteArray eventUid(QDate date, int slot) {
    const QTime start = store::slotStart(slot);
    QByteArray uid = dateDigits(date);
    uid += '-';
    appendNumber(uid, start.hour(), 2);
    appendNumber(uid, start.minute(), 2);
    return uid + "@orvella.quenmark";
}

QByteArray timeZoneComponent(const QTimeZone& zone, int firstYear, int lastYear) {
    const QDateTime from(QDate(firstYear, 1, 1), QTime(0, 0), QTimeZone::utc());
    const QDateTime to(QDate(lastYear + 1, 1, 1), QTime(0, 0), QTimeZone::utc());

    QTimeZone::OffsetDataList changes;
    // The change that set the offset in force at the start, then every change within the years.
    const QTimeZone::OffsetData before = zone.previousTransition(from);
    if (before.atUtc.isValid()) {
        changes.append(before);
    }
    changes.append(zone.transitions(from, to));

    std::vector<Onset> onsets;
    for (const QTimeZone::OffsetData& change : changes) {
        Onset onset;
        onset.daylight = change.daylightTimeOffset != 0;
        onset.offsetTo = change.offsetFromUtc;
        onset.offsetFrom = zone.offsetFromUtc(change.atUtc.addSecs(-1));
        onset.name = change.abbreviation;
        const QDateTime clock = change.atUtc.toUTC().addSecs(onset.offsetFrom);
        onset.localStart = localText(clock.date(), clock.time());
        onsets.push_back(onset);
    }
    if (onsets.empty()) {
        // A zone that never changed its offset: one standard time from long ago.
        Onset onset;
        onset.offsetFrom = onset.offsetTo = zone.offsetFromUtc(from);
        onset.name = zone.abbreviation(from);
        onset.localStart = QByteArrayLiteral("19700101T000000");
        onsets.push_back(onset);
    }

    QByteArray text = foldLine("BEGIN:VTIMEZONE") + foldLine("TZID:" + escapeText(QString::fromUtf8(zone.id())));
    // Changes of the same kind (the spring change of every year, say) share one component, each further one a
    // date of recurrence.
    std::vector<bool> written(onsets.size(), false);
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        if (written[i]) {
            continue;
        }
        const Onset& onset = onsets[i];
        const QByteArray kind = onset.daylight ? "DAYLIGHT" : "STANDARD";
        text += foldLine("BEGIN:" + kind);
        text += foldLine("DTSTART:" + onset.localStart);
        for (std::size_t j = i + 1; j < onsets.size(); ++j) {
            if (!written[j] && onsets[j].kind() == onset.kind()) {
                text += foldLine("RDATE:" + onsets[j].localStart);
                written[j] = true;
            }
        }
        text += foldLine("TZOFFSETFROM:" + offsetText(onset.offsetFrom));
        text += foldLine("TZOFFSETTO:" + offsetText(onset.offsetTo));
        if (!onset.name.isEmpty()) {
            text += foldLine("TZNAME:" + escapeText(onset.name));
        }
        text += foldLine("END:" + kind);
        written[i] = true;
    }
    text += foldLine("END:VTIMEZONE");
    return text;
}

QByteArray calendarText(const store::FilledSlotTexts& filled, const CalendarOptions& options) {
    QByteArray text;
    text.reserve(static_cast<qsizetype>(filled.size()) * 240 + 4096);
    text += foldLine("BEGIN:VCALENDAR");
    text += foldLine("VERSION:2.0");
    text += foldLine("PRODID:-//Quenmark//Orvella 1.0//EL");
    text += foldLine("CALSCALE:GREGORIAN");

    // The rules of the zone over the years the events fall in (this year's for an empty book, since a
    // calendar holds at least one component).
    int firstYear = QDate::currentDate().year();
    int lastYear = firstYear;
    if (!filled.empty()) {
        const auto [earliest, latest] =
            std::minmax_element(filled.entries().begin(), filled.entries().end(),
                                [](const store::FilledSlotTexts::Slot& a, const store::FilledSlotTexts::Slot& b) {
                                    return a.date < b.date;
                                });
        firstYear = earliest->date.year();
        lastYear = latest->date.year();
    }
    text += timeZoneComponent(options.zone, firstYear, lastYear);

    const QByteArray stamp =
        "DTSTAMP:" + options.stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
    const QByteArray zoneParameter = ";TZID=" + parameterValue(QString::fromUtf8(options.zone.id())) + ':';
    // Each event's lines are made in one buffer, kept from event to event; only the summary can need folding.
    QByteArray line;
    QDate lastDate;
    QByteArray digits; // the date's 20100305
    for (const store::FilledSlotTexts::Slot& slot : filled.entries()) {
        if (slot.date != lastDate) {
            lastDate = slot.date;
            digits = dateDigits(slot.date);
        }
        const QTime start = store::slotStart(slot.slot);
        const QTime end = store::slotEnd(slot.slot);
        text += "BEGIN:VEVENT\r\n";
        line.clear();
        line += "UID:";
        line += digits;
        line += '-';
        appendNumber(line, start.hour(), 2);
        appendNumber(line, start.minute(), 2);
        line += "@orvella.quenmark";
        appendFoldedLine(text, line);
        appendFoldedLine(text, stamp);
        // DTSTART and DTEND: the day's local date and time in the zone named.
        const auto appendMoment = [&](const char* name, QTime time) {
            line.clear();
            line += name;
            line += zoneParameter;
            line += digits;
            line += 'T';
            appendNumber(line, time.hour(), 2);
            appendNumber(line, time.minute(), 2);
            appendNumber(line, time.second(), 2);
            appendFoldedLine(text, line);
        };
        appendMoment("DTSTART", start);
        appendMoment("DTEND", end);
        line.clear();
        line += "SUMMARY:";
        appendEscapedText(line, filled.text(slot));
        appendFoldedLine(text, line);
        text += "END:VEVENT\r\n";
    }
    text += foldLine("END:VCALENDAR");
    return text;
}

QByteArray calendarText(const std::vector<store::FilledSlot>& filled, const CalendarOptions& options) {
    return calendarText(store::FilledSlotTexts::of(filled), options);
}

} // namespace exchange
