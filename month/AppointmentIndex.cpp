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
    std::vector<Entry> entries;
    entries.reserve(filled.size());
    for (store::FilledSlot& slot : filled) {
        QString normalisedText = searchtext::normalised(slot.text);
        entries.push_back({std::move(slot), std::move(normalisedText)});
    }
    m_entries = std::move(entries);
}

AppointmentIndex::Found AppointmentIndex::find(const QString& search, int limit) const {
    Found found;
    const QString key = searchtext::searchKey(search);
    if (key.isEmpty()) {
        return found;
    }
    // The matcher prepares the key once for the whole scan; it compares the key's characters literally, the
    // same as searchtext::matches.
    const QStringMatcher matcher(key, Qt::CaseSensitive);
    for (int i = 0; i < static_cast<int>(m_entries.size()); ++i) {
        if (matcher.indexIn(m_entries[static_cast<std::size_t>(i)].normalised) >= 0) {
            if (found.total < limit) {
                found.shown.push_back(i);
            }
            ++found.total;
        }
    }
    return found;
}

int AppointmentIndex::positionOf(QDate date, int slot) const {
    for (int i = 0; i < static_cast<int>(m_entries.size()); ++i) {
        const store::FilledSlot& entry = m_entries[static_cast<std::size_t>(i)].slot;
        if (entry.date == date && entry.slot == slot) {
            return i;
        }
    }
    return -1;
}
