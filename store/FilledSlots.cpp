#include "store/FilledSlots.h"

#include "store/Connection.h"
#include "store/Query.h"
#include "store/engine/DateLiterals.h"
#include "store/engine/EngineError.h"
#include "store/engine/EngineSession.h"
#include "store/engine/HeldText.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QUtf8StringView>

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

std::optional<QString> appointmentText(const QString& value) {
    QString text = stripBlanksAndControls(value);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

QDate storedDay(const QString& text) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (storedDateParts(text, year, month, day))
        return QDate(year, month, day);
    return QVariant(text).toDate();
}

bool holdsAppointment(const QString& text) {
    return holdsText(QStringView(text));
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
            if (std::optional<QString> text = appointmentText(value.toString())) {
                filled.push_back({date, slot, std::move(*text)});
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

void FilledSlotTexts::append(QDate date, int slot, QByteArrayView text) {
    m_slots.push_back({date, slot, m_texts.size(), text.size()});
    m_texts.append(text);
}

void FilledSlotTexts::sortByDate() {
    const auto byDate = [](const Slot& a, const Slot& b) { return a.date < b.date; };
    // The file's records usually come in date order already.
    if (!std::is_sorted(m_slots.begin(), m_slots.end(), byDate))
        std::stable_sort(m_slots.begin(), m_slots.end(), byDate);
}

FilledSlotTexts FilledSlotTexts::of(const std::vector<FilledSlot>& filled) {
    FilledSlotTexts texts;
    for (const FilledSlot& slot : filled)
        texts.append(slot.date, slot.slot, slot.text.toUtf8());
    return texts;
}

namespace {

// The day of a stored 'yyyy-mm-dd', read as QVariant::toDate() reads it.
QDate storedDay(const TextValue& value) {
    const auto digit = [&](qsizetype i) { return value.data[i] >= '0' && value.data[i] <= '9'; };
    const auto number = [&](qsizetype from, qsizetype count) {
        int n = 0;
        for (qsizetype i = from; i < from + count; ++i)
            n = n * 10 + (value.data[i] - '0');
        return n;
    };
    if (value.size == 10 && value.data[4] == '-' && value.data[7] == '-' && digit(0) && digit(1) && digit(2) &&
        digit(3) && digit(5) && digit(6) && digit(8) && digit(9))
        return QDate(number(0, 4), number(5, 2), number(8, 2));
    return store::storedDay(QString::fromUtf8(value.data, value.size));
}

// Gathers the filled slots of the rows of the whole table.
class FilledSlotGatherer : public TextRowReader {
public:
    FilledSlotGatherer(FilledSlotTexts& texts, QDate first, QDate last)
        : m_texts(texts), m_first(first), m_last(last) {}

    void columns(const QStringList& names) override {
        // Found by name once: an engine may return them in another order than the table's.
        m_dateColumn = names.indexOf(QLatin1String(DayColumnName));
        check(m_dateColumn >= 0, EngineError::GeneralError,
              QCoreApplication::translate("store", "The appointment table has no column %1.").arg(QLatin1String(DayColumnName)));
        for (const QString& name : slotColumnNames()) {
            const qsizetype position = names.indexOf(name);
            check(position >= 0, EngineError::GeneralError,
                  QCoreApplication::translate("store", "The appointment table has no column \"%1\".").arg(name));
            m_slotColumns.push_back(position);
        }
    }

    void row(const TextValue* values) override {
        const TextValue& day = values[m_dateColumn];
        const QDate date = day.isNull() ? QDate() : storedDay(day);
        // A record whose date the engine cannot read as one is no day of the book.
        if (!date.isValid() || (m_first.isValid() && date < m_first) || (m_last.isValid() && date > m_last))
            return;
        for (int slot = 0; slot < static_cast<int>(m_slotColumns.size()); ++slot) {
            const TextValue& value = values[m_slotColumns[static_cast<std::size_t>(slot)]];
            if (value.isNull())
                continue;
            // Blanks and control characters (U+0000 to U+0020) are single bytes in UTF-8 that no other
            // character's bytes contain: stripping the bytes is stripping the characters.
            qsizetype begin = 0;
            qsizetype end = value.size;
            while (begin < end && static_cast<unsigned char>(value.data[begin]) <= 0x20)
                ++begin;
            while (end > begin && static_cast<unsigned char>(value.data[end - 1]) <= 0x20)
                --end;
            if (begin == end)
                continue;
            const QByteArrayView text(value.data + begin, end - begin);
            if (QUtf8StringView(text).isValidUtf8()) {
                m_texts.append(date, slot, text);
                continue;
            }
            // Bytes that are not UTF-8 come out as a Qt string would give them back (each bad sequence a
            // replacement character), stripped again, as the windows see them.
            const QString shown = stripBlanksAndControls(QString::fromUtf8(value.data, value.size));
            if (!shown.isEmpty())
                m_texts.append(date, slot, shown.toUtf8());
        }
    }

private:
    FilledSlotTexts& m_texts;
    QDate m_first;
    QDate m_last;
    qsizetype m_dateColumn = -1;
    std::vector<qsizetype> m_slotColumns;
};

} // namespace

FilledSlotTexts readFilledSlotTexts(Connection& connection, QDate first, QDate last) {
    FilledSlotTexts texts;
    FilledSlotGatherer gatherer(texts, first, last);
    connection.session().readText(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(AppointmentTableName)),
                                  gatherer);
    // The table's own order is not promised by every engine.
    texts.sortByDate();
    return texts;
}

} // namespace store
