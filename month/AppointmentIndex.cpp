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

namespace {

// Each slot's normalised text onto text, followed by a line break, and where it starts onto starts.
void appendNormalised(const std::vector<store::FilledSlot>& filled, QString& text, std::vector<qsizetype>& starts) {
    for (const store::FilledSlot& slot : filled) {
        starts.push_back(text.size());
        text += searchtext::normalised(slot.text);
        text += QLatin1Char('\n');
    }
}

} // namespace

bool AppointmentIndex::before(const store::FilledSlot& a, const store::FilledSlot& b) const {
    // Upcoming days ascending, then past days descending; within a day the slots keep their time order.
    const bool aUpcoming = a.date >= m_today;
    const bool bUpcoming = b.date >= m_today;
    if (aUpcoming != bUpcoming)
        return aUpcoming;
    if (a.date != b.date)
        return aUpcoming ? a.date < b.date : a.date > b.date;
    return a.slot < b.slot;
}

void AppointmentIndex::assign(std::vector<store::FilledSlot> filled, QDate today) {
    m_today = today;
    std::stable_sort(filled.begin(), filled.end(),
                     [this](const store::FilledSlot& a, const store::FilledSlot& b) { return before(a, b); });
    QString text;
    std::vector<qsizetype> starts;
    starts.reserve(filled.size() + 1);
    appendNormalised(filled, text, starts);
    starts.push_back(text.size());
    m_entries = std::move(filled);
    m_text = std::move(text);
    m_starts = std::move(starts);
}

void AppointmentIndex::replaceDay(QDate day, std::vector<store::FilledSlot> filled) {
    if (m_starts.empty())
        m_starts.push_back(0);
    // A day's entries stand together in shown order: where they start is where the new ones go.
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [day](const store::FilledSlot& entry) { return entry.date == day; });
    std::size_t at = static_cast<std::size_t>(found - m_entries.begin());
    std::size_t end = at;
    while (end < m_entries.size() && m_entries[end].date == day)
        ++end;
    if (end == at) {
        const store::FilledSlot probe{day, 0, QString()};
        at = end = static_cast<std::size_t>(
            std::find_if(m_entries.begin(), m_entries.end(),
                         [this, &probe](const store::FilledSlot& entry) { return before(probe, entry); }) -
            m_entries.begin());
    }
    std::sort(filled.begin(), filled.end(),
              [](const store::FilledSlot& a, const store::FilledSlot& b) { return a.slot < b.slot; });

    // The joined texts before and after the day stay as they are; only the day's own are normalised.
    QString middle;
    std::vector<qsizetype> middleStarts;
    appendNormalised(filled, middle, middleStarts);
    const qsizetype from = m_starts[at];
    const qsizetype to = m_starts[end];
    const qsizetype shift = middle.size() - (to - from);
    m_text.replace(from, to - from, middle);
    std::vector<qsizetype> starts;
    starts.reserve(m_starts.size() - (end - at) + filled.size());
    starts.insert(starts.end(), m_starts.begin(), m_starts.begin() + static_cast<std::ptrdiff_t>(at));
    for (const qsizetype start : middleStarts)
        starts.push_back(from + start);
    for (std::size_t i = end; i < m_starts.size(); ++i)
        starts.push_back(m_starts[i] + shift);
    m_starts = std::move(starts);

    const auto entryAt = m_entries.begin() + static_cast<std::ptrdiff_t>(at);
    m_entries.erase(entryAt, m_entries.begin() + static_cast<std::ptrdiff_t>(end));
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(filled.begin()),
                     std::make_move_iterator(filled.end()));
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
