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
#include <system_error>
#include <thread>

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

std::vector<AppointmentIndex::Gathered::Slot> AppointmentIndex::inShownOrder(std::vector<Gathered::Slot> gathered) const {
    std::stable_sort(gathered.begin(), gathered.end(), [this](const Gathered::Slot& a, const Gathered::Slot& b) {
        return before(a.day, a.slot, b.day, b.slot);
    });
    return gathered;
}

void AppointmentIndex::emptyFor(QDate today) {
    *this = AppointmentIndex();
    m_today = today;
    m_todayDay = static_cast<std::int32_t>(today.toJulianDay());
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
    const std::vector<Gathered::Slot> sorted = inShownOrder(std::move(gathered.m_slots));
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

std::size_t AppointmentIndex::stowedBytes() const {
    std::size_t bytes = m_stowedRuns.capacity() * sizeof(StowedRun);
    for (const StowedRun& run : m_stowedRuns)
        bytes += static_cast<std::size_t>(run.bytes.capacity());
    return bytes;
}

std::size_t AppointmentIndex::heldBytes() const {
    return m_entries.capacity() * sizeof(Entry) + m_starts.capacity() * sizeof(std::uint32_t) +
           static_cast<std::size_t>(m_texts.capacity() + m_normalised.capacity()) + stowedBytes();
}

namespace {

// A stowed run, compressed at once: its number of slots and the sizes of its two texts, then its slots in columns
// (days, slot numbers, each text's length, each normalised text's length), then the texts and the normalised texts
// as they lie in memory.
struct RunSizes {
    quint64 entries;
    quint64 texts;
    quint64 normalised;
};
constexpr quint64 ColumnBytes = 4 + 1 + 4 + 4;

template <typename T> void appendRaw(QByteArray& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), static_cast<qsizetype>(sizeof value));
}

// Reads count values of T off the front of bytes into values, false when bytes is shorter.
template <typename T> bool takeRaw(QByteArrayView& bytes, T* values, quint64 count) {
    if (count > static_cast<quint64>(bytes.size()) / sizeof(T))
        return false;
    std::memcpy(values, bytes.data(), static_cast<std::size_t>(count * sizeof(T)));
    bytes = bytes.sliced(static_cast<qsizetype>(count * sizeof(T)));
    return true;
}

} // namespace

void AppointmentIndex::beginStowed(QDate today) {
    emptyFor(today);
    m_stowing = true;
}

bool AppointmentIndex::stowRun(const Gathered& run) {
    store::check(m_stowing, store::EngineError::Misuse,
                 QCoreApplication::translate("month", "A run of slots was given to a picture that is not being stowed."));
    if (run.m_slots.empty())
        return true;
    const std::vector<Gathered::Slot> sorted = inShownOrder(run.m_slots);
    if (m_stowedLastSlot >= 0 && before(sorted.front().day, sorted.front().slot, m_stowedLastDay, m_stowedLastSlot))
        return false;
    std::vector<Entry> entries;
    entries.reserve(sorted.size());
    QByteArray texts;
    std::vector<std::uint32_t> starts;
    starts.reserve(sorted.size());
    QByteArray normalised;
    appendEntries(run, sorted, entries, texts, starts, normalised);
    requireIndexable(m_stowedTexts + texts.size());
    requireIndexable(m_stowedNormalised + normalised.size());

    const std::size_t count = entries.size();
    const RunSizes sizes{count, static_cast<quint64>(texts.size()), static_cast<quint64>(normalised.size())};
    QByteArray whole;
    whole.reserve(static_cast<qsizetype>(sizeof sizes + count * ColumnBytes + sizes.texts + sizes.normalised));
    appendRaw(whole, sizes);
    for (const Entry& entry : entries)
        appendRaw(whole, entry.day);
    for (const Entry& entry : entries)
        whole.append(static_cast<char>(entry.slot));
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t end = i + 1 < count ? entries[i + 1].at : static_cast<std::uint32_t>(texts.size());
        appendRaw(whole, static_cast<std::uint32_t>(end - entries[i].at));
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t end = i + 1 < count ? starts[i + 1] : static_cast<std::uint32_t>(normalised.size());
        appendRaw(whole, static_cast<std::uint32_t>(end - starts[i]));
    }
    whole.append(texts);
    whole.append(normalised);
    // The fastest level: the picture is stowed on a thread behind the windows, and made whole at the opening.
    QByteArray compressed = qCompress(whole, 1);
    store::check(!compressed.isEmpty(), store::EngineError::GeneralError,
                 QCoreApplication::translate("month", "The search's picture of the book could not be compressed."));
    // The compressor's buffer was made for the worst case.
    compressed.squeeze();
    m_stowedRuns.push_back({std::move(compressed), m_stowedSize, m_stowedTexts, m_stowedNormalised});
    m_stowedSize += count;
    m_stowedTexts += texts.size();
    m_stowedNormalised += normalised.size();
    m_stowedLastDay = sorted.back().day;
    m_stowedLastSlot = sorted.back().slot;
    return true;
}

bool AppointmentIndex::unstowRuns(std::size_t first, std::size_t end) {
    for (std::size_t r = first; r < end; ++r) {
        const StowedRun& run = m_stowedRuns[r];
        const QByteArray bytes = qUncompress(run.bytes);
        QByteArrayView rest(bytes);
        RunSizes sizes{};
        if (!takeRaw(rest, &sizes, 1) || sizes.entries > static_cast<quint64>(rest.size()) / ColumnBytes)
            return false;
        const std::size_t count = static_cast<std::size_t>(sizes.entries);
        const std::size_t nextEntry = r + 1 < m_stowedRuns.size() ? m_stowedRuns[r + 1].firstEntry : m_stowedSize;
        const qsizetype nextTexts = r + 1 < m_stowedRuns.size() ? m_stowedRuns[r + 1].textsAt : m_stowedTexts;
        const qsizetype nextNormalised =
            r + 1 < m_stowedRuns.size() ? m_stowedRuns[r + 1].normalisedAt : m_stowedNormalised;
        // A run that does not fill exactly the place kept for it is not one this picture stowed.
        if (run.firstEntry + count != nextEntry || run.textsAt + qsizetype(sizes.texts) != nextTexts ||
            run.normalisedAt + qsizetype(sizes.normalised) != nextNormalised)
            return false;
        std::vector<std::int32_t> days(count);
        std::vector<std::uint8_t> slotNumbers(count);
        std::vector<std::uint32_t> textSizes(count);
        std::vector<std::uint32_t> normalisedSizes(count);
        if (!takeRaw(rest, days.data(), count) || !takeRaw(rest, slotNumbers.data(), count) ||
            !takeRaw(rest, textSizes.data(), count) || !takeRaw(rest, normalisedSizes.data(), count) ||
            sizes.texts + sizes.normalised != static_cast<quint64>(rest.size()))
            return false;
        auto at = static_cast<std::uint32_t>(run.textsAt);
        auto start = static_cast<std::uint32_t>(run.normalisedAt);
        for (std::size_t i = 0; i < count; ++i) {
            m_entries[run.firstEntry + i] = {days[i], at, slotNumbers[i]};
            m_starts[run.firstEntry + i] = start;
            at += textSizes[i];
            start += normalisedSizes[i];
        }
        if (at != static_cast<std::uint32_t>(nextTexts) || start != static_cast<std::uint32_t>(nextNormalised))
            return false;
        std::memcpy(m_texts.data() + run.textsAt, rest.data(), static_cast<std::size_t>(sizes.texts));
        std::memcpy(m_normalised.data() + run.normalisedAt, rest.data() + sizes.texts,
                    static_cast<std::size_t>(sizes.normalised));
    }
    return true;
}

bool AppointmentIndex::unstow() {
    if (!m_stowing)
        return true;
    m_entries.resize(m_stowedSize);
    m_starts.resize(m_stowedSize + 1);
    // Made at their size (a resize would keep room to grow).
    m_texts = QByteArray(m_stowedTexts, Qt::Uninitialized);
    m_normalised = QByteArray(m_stowedNormalised, Qt::Uninitialized);
    m_starts[m_stowedSize] = static_cast<std::uint32_t>(m_stowedNormalised);
    // Each run goes to a place of its own: the later half (by compressed bytes) on a second thread, so that two
    // processors make the picture whole in half the time when the search opens.
    std::size_t compressed = 0;
    for (const StowedRun& run : m_stowedRuns)
        compressed += static_cast<std::size_t>(run.bytes.size());
    std::size_t half = 0;
    for (std::size_t taken = 0; half < m_stowedRuns.size() && taken < compressed / 2; ++half)
        taken += static_cast<std::size_t>(m_stowedRuns[half].bytes.size());
    // Unshared (just made), so that both threads write through the same buffers without detaching them.
    bool laterWhole = true;
    std::thread later;
    try {
        later = std::thread([&] { laterWhole = unstowRuns(half, m_stowedRuns.size()); });
    } catch (const std::system_error&) {
        // No second thread to be had: this one does it all.
        half = m_stowedRuns.size();
    }
    const bool earlierWhole = unstowRuns(0, half);
    if (later.joinable())
        later.join();
    std::vector<StowedRun>().swap(m_stowedRuns);
    m_stowing = false;
    m_stowedSize = 0;
    m_stowedTexts = 0;
    m_stowedNormalised = 0;
    if (earlierWhole && laterWhole)
        return true;
    emptyFor(m_today);
    return false;
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
