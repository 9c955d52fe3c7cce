#include "month/AppointmentIndex.h"

#include "month/SearchText.h"
#include "store/Connection.h"

#include <QStringMatcher>

#include <algorithm>

void AppointmentIndex::load(const QString& connectionText, QDate today) {
    store::Connection connection;
    connection.reopen(connectionText);
    std::vector<store::FilledSlot> filled = store::readFilledSlots(connection);
    connection.close();
    assign(std::move(filled), today);
}

void AppointmentIndex::assign(std::vector<store::FilledSlot> filled, QDate today) {
    // Upcoming days ascending, then past days descending; within a day the slots keep their time order.
    std::stable_sort(filled.begin(), filled.end(), [today](const store::FilledSlot& a, const store::FilledSlot& b) {
        const bool aUpcoming = a.date >= today;
        const bool bUpcoming = b.date >= today;
        if (aUpcoming != bUpcoming) {
            return aUpcoming;
        }
        if (a.date != b.date) {
            return aUpcoming ? a.date < b.date : a.date > b.date;
        }
        return a.slot < b.slot;
    });
    QString text;
    std::vector<qsizetype> starts;
    starts.reserve(filled.size() + 1);
    for (const store::FilledSlot& slot : filled) {
        starts.push_back(text.size());
        text += searchtext::normalised(slot.text);
        text += QLatin1Char('\n');
    }
    starts.push_back(text.size());
    m_entries = std::move(filled);
    m_text = std::move(text);
    m_starts = std::move(starts);
}

AppointmentIndex::Found AppointmentIndex::find(const QString& search, int limit) const {
    Found found;
    const QString key = searchtext::searchKey(search);
    if (key.isEmpty()) {
        return found;
    }
    // The matcher compares the key's characters literally, the same as searchtext::matches.
    const QStringMatcher matcher(key, Qt::CaseSensitive);
    qsizetype from = 0;
    while (true) {
        const qsizetype at = matcher.indexIn(m_text, from);
        if (at < 0) {
            break;
        }
        // The entry whose text holds the match; the scan goes on at the next entry, so each counts once.
        const auto next = std::upper_bound(m_starts.begin(), m_starts.end(), at);
        const auto entry = static_cast<int>(next - m_starts.begin()) - 1;
        if (found.total < limit) {
            found.shown.push_back(entry);
        }
        ++found.total;
        from = *next;
    }
    return found;
}
