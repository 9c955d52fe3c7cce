#include "store/SlotBooking.h"

#include "store/Connection.h"
#include "store/FilledSlots.h"
#include "store/engine/EngineError.h"
#include "store/engine/EngineSession.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace store {

namespace {

constexpr int SlotCount = 28;

// A day's slots as the book holds them, each without the blanks and control characters at its ends.
using DaySlots = std::array<QString, SlotCount>;

// Characters as the book counts them: a letter outside the basic plane is one, not two halves.
qsizetype codePoints(const QString& text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    return count;
}

void refuseUnwritable(const std::vector<SlotWrite>& writes) {
    for (const SlotWrite& write : writes) {
        check(write.day.isValid(), EngineError::NotADate,
              QCoreApplication::translate("store", "A slot to book has no valid day."));
        const QString day = write.day.toString(Qt::ISODate);
        check(write.slot >= 0 && write.slot < SlotCount, EngineError::Misuse,
              QCoreApplication::translate("store", "The day %1 has no slot %2; slots are 0 to %3.")
                  .arg(day)
                  .arg(write.slot)
                  .arg(SlotCount - 1));
        const QString where = QStringLiteral("%1, %2").arg(day, slotTimeText(write.slot));
        check(holdsAppointment(write.text), EngineError::Misuse,
              QCoreApplication::translate("store", "The text for %1 is empty: nothing to book.").arg(where));
        check(!write.text.contains(QChar(0)), EngineError::Constraint,
              QCoreApplication::translate("store",
                                          "The text for %1 holds the character U+0000, which the book does not keep.")
                  .arg(where));
        const qsizetype length = codePoints(write.text);
        check(length <= SlotTextSize, EngineError::TooLong,
              QCoreApplication::translate("store",
                                          "The text for %1 is %2 characters long; a slot holds at most %3 characters.")
                  .arg(where)
                  .arg(length)
                  .arg(SlotTextSize));
    }
}

// Sorts writes against the days as they stand, in order: a free slot is taken by its write, so that a later
// write of the same slot finds it filled.
BookingPlan sortWrites(const std::vector<SlotWrite>& writes, std::map<QDate, DaySlots>& days) {
    BookingPlan plan;
    for (const SlotWrite& write : writes) {
        QString& held = days[write.day][static_cast<std::size_t>(write.slot)];
        const QString text = stripBlanksAndControls(write.text);
        if (held.isEmpty()) {
            held = text;
            plan.free.push_back(write);
        } else if (held == text) {
            plan.same.push_back(write);
        } else {
            plan.taken.push_back(write);
        }
    }
    return plan;
}

// The days' slots out of whole records, their columns found by name.
std::map<QDate, DaySlots> daysOf(const ResultSet& records) {
    const auto column = [&records](const QString& name) {
        for (std::size_t i = 0; i < records.fields.size(); ++i) {
            const FieldDescription& field = records.fields[i];
            if ((field.origin.isEmpty() ? field.name : field.origin).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        throw EngineError(
            EngineError::GeneralError,
            QCoreApplication::translate("store", "The appointment table has no column \"%1\".").arg(name));
    };
    const std::size_t dateColumn = column(QLatin1String(DayColumnName));
    std::array<std::size_t, SlotCount> slotColumns{};
    for (int slot = 0; slot < SlotCount; ++slot)
        slotColumns[static_cast<std::size_t>(slot)] = column(slotColumnNames().at(slot));
    std::map<QDate, DaySlots> days;
    for (const std::vector<QVariant>& row : records.rows) {
        DaySlots& held = days[QDate::fromString(row[dateColumn].toString(), Qt::ISODate)];
        for (std::size_t slot = 0; slot < held.size(); ++slot) {
            const QVariant& value = row[slotColumns[slot]];
            if (!value.isNull())
                held[slot] = stripBlanksAndControls(value.toString());
        }
    }
    return days;
}

} // namespace

BookingPlan planBooking(Connection& connection, const std::vector<SlotWrite>& writes) {
    refuseUnwritable(writes);
    if (writes.empty())
        return {};
    const auto [first, last] = std::minmax_element(
        writes.begin(), writes.end(), [](const SlotWrite& a, const SlotWrite& b) { return a.day < b.day; });
    std::map<QDate, DaySlots> days;
    for (FilledSlot& filled : readFilledSlots(connection, first->day, last->day))
        days[filled.date][static_cast<std::size_t>(filled.slot)] = std::move(filled.text);
    return sortWrites(writes, days);
}

BookingPlan bookFreeSlots(Connection& connection, const std::vector<SlotWrite>& writes) {
    refuseUnwritable(writes);
    if (writes.empty())
        return {};
    std::vector<QDate> dates;
    for (const SlotWrite& write : writes)
        dates.push_back(write.day);
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    std::vector<QString> storedDates;
    for (const QDate date : dates)
        storedDates.push_back(date.toString(Qt::ISODate));

    BookingPlan plan;
    connection.session().writeDays(storedDates, [&](const ResultSet& records) {
        std::map<QDate, DaySlots> days = daysOf(records);
        check(days.size() == dates.size(), EngineError::GeneralError,
              QCoreApplication::translate("store",
                                          "The book made %1 of the %2 day records to write into; nothing was saved.")
                  .arg(days.size())
                  .arg(dates.size()));
        plan = sortWrites(writes, days);
        std::map<QDate, DayWrite> byDay;
        for (const SlotWrite& write : plan.free) {
            DayWrite& day = byDay[write.day];
            if (day.texts.empty()) {
                day.storedDate = write.day.toString(Qt::ISODate);
                day.texts.resize(SlotCount);
            }
            day.texts[static_cast<std::size_t>(write.slot)] = write.text;
        }
        std::vector<DayWrite> chosen;
        chosen.reserve(byDay.size());
        for (auto& [date, day] : byDay)
            chosen.push_back(std::move(day));
        return chosen;
    });
    return plan;
}

} // namespace store
