#include "store/FilledSlots.h"

#include "store/Connection.h"
#include "store/Query.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <algorithm>

namespace store {

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20;
}

constexpr int FirstSlotMinutes = 8 * 60;
constexpr int SlotMinutes = 30;

} // namespace

QString stripBlanksAndControls(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlankOrControl(text.at(first))) {
        ++first;
    }
    while (last > first && isBlankOrControl(text.at(last - 1))) {
        --last;
    }
    return text.mid(first, last - first);
}

bool holdsAppointment(const QString& text) {
    // The same answer as stripping, without making the stripped copy: the month's scan asks this of every slot.
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return !isBlankOrControl(c); });
}

QTime slotStart(int slot) {
    return QTime(0, 0).addSecs(60 * (FirstSlotMinutes + SlotMinutes * slot));
}

QTime slotEnd(int slot) {
    return slotStart(slot).addSecs(60 * SlotMinutes);
}

QString slotTimeText(int slot) {
    return slotStart(slot).toString(QStringLiteral("HH:mm")) + QStringLiteral(" - ") +
           slotEnd(slot).toString(QStringLiteral("HH:mm"));
}

namespace {

// The filled slots of the records statement reads, in date and then time order.
std::vector<FilledSlot> filledSlotsOf(Connection& connection, const QString& statement) {
    Query query(connection);
    query.addStatement(statement);
    query.open();

    // Columns are found by name once: an engine may return them in another order than the table's.
    const int dateColumn = query.fieldIndex(QLatin1String(DayColumnName));
    check(dateColumn >= 0, EngineError::GeneralError,
          QCoreApplication::translate("store", "The appointment table has no column %1.").arg(QLatin1String(DayColumnName)));
    const QStringList& names = slotColumnNames();
    std::vector<int> slotColumns;
    for (const QString& name : names) {
        const int position = query.fieldIndex(name);
        check(position >= 0, EngineError::GeneralError,
              QCoreApplication::translate("store", "The appointment table has no column \"%1\".").arg(name));
        slotColumns.push_back(position);
    }

    std::vector<FilledSlot> filled;
    for (int row = 0; row < query.recordCount(); ++row) {
        const QDate date = query.valueAt(row, dateColumn).toDate();
        // A record whose date the engine cannot read as one is no day of the book.
        if (!date.isValid()) {
            continue;
        }
        for (int slot = 0; slot < static_cast<int>(slotColumns.size()); ++slot) {
            const QVariant value = query.valueAt(row, slotColumns[static_cast<std::size_t>(slot)]);
            if (value.isNull()) {
                continue;
            }
            QString text = stripBlanksAndControls(value.toString());
            if (!text.isEmpty()) {
                filled.push_back({date, slot, std::move(text)});
            }
        }
    }
    query.close();
    // The table's own order is not promised by every engine.
    std::stable_sort(filled.begin(), filled.end(), [](const FilledSlot& a, const FilledSlot& b) {
        return a.date != b.date ? a.date < b.date : a.slot < b.slot;
    });
    return filled;
}

// A date as the windows write it in a statement: #month/day/year#.
QString dateLiteral(QDate date) {
    return QStringLiteral("#%1/%2/%3#").arg(date.month()).arg(date.day()).arg(date.year());
}

} // namespace

std::vector<FilledSlot> readFilledSlots(Connection& connection) {
    return filledSlotsOf(connection, QStringLiteral("SELECT * FROM %1").arg(QLatin1String(AppointmentTableName)));
}

std::vector<FilledSlot> readFilledSlots(Connection& connection, QDate first, QDate last) {
    check(first.isValid() && last.isValid(), EngineError::Misuse,
          QCoreApplication::translate("store", "A range of days needs two valid dates."));
    if (last < first) {
        return {};
    }
    // Both engines keep the date column in an order that is the calendar's (ISO text on the file, a date on the
    // server), so the range is a comparison of the key alone.
    return filledSlotsOf(connection, QStringLiteral("SELECT * FROM %1 WHERE %2 >= %3 AND %2 <= %4")
                                         .arg(QLatin1String(AppointmentTableName), QLatin1String(DayColumnName),
                                              dateLiteral(first), dateLiteral(last)));
}

} // namespace store
