#include "month/AppointmentIndex.h"

#include "month/PackedText.h"
#include "month/SearchText.h"
#include "store/Connection.h"
#include "store/engine/EngineError.h"

#include <QByteArrayMatcher>
#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// The buffers are indexed with 32 bits, four times what the fullest calendar of texts needs.
void requireIndexable(qsizetype size) {
    store::check(size <= static_cast<qsizetype>(std::numeric_limits<std::uint32_t>::max()),
                 store::EngineError::GeneralError,
                 QCoreApplication::translate("month", "The book holds more text than the search can keep in memory."));
}

} // namespace

void AppointmentIndex::Gathered::add(QDate date, int slot, QStringView text) {
    const qsizetype at = m_texts.size();
    packedtext::append(m_texts, text);
    requireIndexable(m_texts.size());
    m_slots.push_back({static_cast<std::int32_t>(date.toJulianDay()), slot, static_cast<std::uint32_t>(at),
                       static_cast<std::uint32_t>(m_texts.size() - at)});
}

void AppointmentIndex::load(const QString& connectionText, QDate today) {
    store::Connection connection;
    connection.reopen(connectionText);
    const store::FilledSlotTexts texts = store::readFilledSlotTexts(connection);
    connection.close();
    Gathered gathered;
    for (const store::FilledSlotTexts::Slot& slot : texts.entries())
        gathered.add(slot.date, slot.slot, QString::fromUtf8(texts.text(slot)));
    assign(std::move(gathered), today);
}

bool AppointmentIndex::before(std::int32_t a, int slotA, std::int32_t b, int slotB) const {
    // Upcoming days ascending, then past days descending; within a day the slots keep their time order.
    const bool aUpcoming = a >= m_todayDay;
    const bool bUpcoming = b >= m_todayDay;
    if (aUpcoming != bUpcoming)
        return aUpcoming;
    if (a != b)
        return aUpcoming ? a < b : a > b;
    return slotA < slotB;
}

void AppointmentIndex::appendEntries(const Gathered& gathered, const std::vector<Gathered::Slot>& sorted,
                                     std::vector<Entry>& entries, QByteArray& texts,
                                     std::vector<std::uint32_t>& starts, QByteArray& normalised) {
    for (const Gathered::Slot& slot : sorted) {
        const QByteArrayView text = QByteArrayView(gathered.m_texts).sliced(slot.at, slot.size);
        entries.push_back({slot.day, static_cast<std::uint32_t>(texts.size()), static_cast<std::uint8_t>(slot.slot)});
        texts.append(text);
        starts.push_back(static_cast<std::uint32_t>(normalised.size()));
        packedtext::append(normalised, searchtext::normalised(packedtext::unpacked(text)));
        normalised.append('\n');
        requireIndexable(texts.size());
        requireIndexable(normalised.size());
    }
}

void AppointmentIndex::assign(const std::vector<store::FilledSlot>& filled, QDate today) {
    Gathered gathered;
    for (const store::FilledSlot& slot : filled)
        gathered.add(slot.date, slot.slot, slot.text);
    assign(std::move(gathered), today);
}

void AppointmentIndex::assign(Gathered gathered, QDate today) {
    m_today = today;
    m_todayDay = static_cast<std::int32_t>(today.toJulianDay());
    std::vector<Gathered::Slot> sorted = std::move(gathered.m_slots);
    std::stable_sort(sorted.begin(), sorted.end(), [this](const Gathered::Slot& a, const Gathered::Slot& b) {
        return before(a.day, a.slot, b.day, b.slot);
    });
    std::vector<Entry> entries;
    entries.reserve(sorted.size());
    QByteArray texts;
    texts.reserve(gathered.m_texts.size());
    std::vector<std::uint32_t> starts;
    starts.reserve(sorted.size() + 1);
    QByteArray normalised;
    normalised.reserve(gathered.m_texts.size() + static_cast<qsizetype>(sorted.size()));
    appendEntries(gathered, sorted, entries, texts, starts, normalised);
    starts.push_back(static_cast<std::uint32_t>(normalised.size()));
    // Gathered packed texts and normalised forms are a little shorter than reserved for them.
    texts.squeeze();
    normalised.squeeze();
    m_entries = std::move(entries);
    m_texts = std::move(texts);
    m_normalised = std::move(normalised);
    m_starts = std::move(starts);
}

void AppointmentIndex::replaceDay(QDate day, std::vector<store::FilledSlot> filled) {
    if (m_starts.empty())
        m_starts.push_back(0);
    const auto key = static_cast<std::int32_t>(day.toJulianDay());
    // A day's entries stand together in shown order, where its first slot would go.
    const auto first = std::partition_point(m_entries.begin(), m_entries.end(),
                                            [&](const Entry& entry) { return before(entry.day, entry.slot, key, -1); });
    const std::size_t at = static_cast<std::size_t>(first - m_entries.begin());
    std::size_t end = at;
    while (end < m_entries.size() && m_entries[end].day == key)
        ++end;

    Gathered gathered;
    for (const store::FilledSlot& slot : filled)
        gathered.add(day, slot.slot, slot.text);
    std::vector<Gathered::Slot> sorted = std::move(gathered.m_slots);
    std::sort(sorted.begin(), sorted.end(),
              [](const Gathered::Slot& a, const Gathered::Slot& b) { return a.slot < b.slot; });
    std::vector<Entry> entries;
    QByteArray texts;
    std::vector<std::uint32_t> starts;
    QByteArray normalised;
    appendEntries(gathered, sorted, entries, texts, starts, normalised);

    // The buffers before and after the day stay as they are; only the day's own texts are packed.
    const auto textAt = [this](std::size_t entry) {
        return entry < m_entries.size() ? qsizetype(m_entries[entry].at) : m_texts.size();
    };
    const qsizetype textFrom = textAt(at);
    const qsizetype textShift = texts.size() - (textAt(end) - textFrom);
    const qsizetype normalisedFrom = m_starts[at];
    const qsizetype normalisedShift = normalised.size() - (qsizetype(m_starts[end]) - normalisedFrom);
    requireIndexable(m_texts.size() + textShift);
    requireIndexable(m_normalised.size() + normalisedShift);
    m_texts.replace(textFrom, textAt(end) - textFrom, texts);
    m_normalised.replace(normalisedFrom, qsizetype(m_starts[end]) - normalisedFrom, normalised);

    for (Entry& entry : entries)
        entry.at = static_cast<std::uint32_t>(entry.at + textFrom);
    for (std::size_t i = end; i < m_entries.size(); ++i)
        m_entries[i].at = static_cast<std::uint32_t>(m_entries[i].at + textShift);
    const auto entryAt = m_entries.begin() + static_cast<std::ptrdiff_t>(at);
    m_entries.erase(entryAt, m_entries.begin() + static_cast<std::ptrdiff_t>(end));
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(at), entries.begin(), entries.end());

    for (std::uint32_t& start : starts)
        start = static_cast<std::uint32_t>(start + normalisedFrom);
    for (std::size_t i = end; i < m_starts.size(); ++i)
        m_starts[i] = static_cast<std::uint32_t>(m_starts[i] + normalisedShift);
    const auto startAt = m_starts.begin() + static_cast<std::ptrdiff_t>(at);
    m_starts.erase(startAt, m_starts.begin() + static_cast<std::ptrdiff_t>(end));
    m_starts.insert(m_starts.begin() + static_cast<std::ptrdiff_t>(at), starts.begin(), starts.end());
}

store::FilledSlot AppointmentIndex::entry(std::size_t position) const {
    const Entry& entry = m_entries.at(position);
    const qsizetype end = position + 1 < m_entries.size() ? qsizetype(m_entries[position + 1].at) : m_texts.size();
    return {QDate::fromJulianDay(entry.day), entry.slot,
            packedtext::unpacked(QByteArrayView(m_texts).sliced(entry.at, end - entry.at))};
}

std::size_t AppointmentIndex::heldBytes() const {
    return m_entries.capacity() * sizeof(Entry) + m_starts.capacity() * sizeof(std::uint32_t) +
           static_cast<std::size_t>(m_texts.capacity() + m_normalised.capacity());
}

AppointmentIndex::Found AppointmentIndex::find(const QString& search, int limit) const {
    Found found;
    const QString key = searchtext::searchKey(search);
    if (key.isEmpty()) {
        return found;
    }
    // Packed, the key's bytes stand in the packed texts exactly where its characters stand in the texts, so the
    // comparison is of bytes, literal as searchtext::matches is; a one-byte key (one Greek or Latin letter) is the
    // most frequent search and needs no table.
    const QByteArray packedKey = packedtext::packed(key);
    const QByteArrayMatcher matcher(packedKey);
    const char* const text = m_normalised.constData();
    const qsizetype size = m_normalised.size();
    qsizetype from = 0;
    while (from < size) {
        qsizetype at;
        if (packedKey.size() == 1) {
            const void* hit = std::memchr(text + from, packedKey[0], static_cast<std::size_t>(size - from));
            at = hit ? static_cast<const char*>(hit) - text : -1;
        } else {
            at = matcher.indexIn(m_normalised, from);
        }
        if (at < 0) {
            break;
        }
        // The entry whose text holds the match; the scan goes on at the next entry, so each counts once.
        const auto next = std::upper_bound(m_starts.begin(), m_starts.end(), static_cast<std::uint32_t>(at));
        const auto entry = static_cast<int>(next - m_starts.begin()) - 1;
        if (found.total < limit) {
            found.shown.push_back(entry);
        }
        ++found.total;
        from = *next;
    }
    return found;
}
