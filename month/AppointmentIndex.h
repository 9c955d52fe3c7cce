#pragma once

#include "store/FilledSlots.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// The search window's picture of the book in memory: every filled slot with its text in the normalised
// form searches compare with, in the order results are shown — from `today` on in ascending order first,
// then the past, most recent day first (the slots of one day always in time order). The month window keeps one
// for the run: made ahead or loaded when the search first opens, then kept current a day at a time (a day that
// closed, another desk's save), so that opening the search and each keystroke only scan memory.
//
// It is held for the whole run whether or not anyone searches, so it is kept small: no Qt string per slot, the
// slots' texts and their normalised forms packed (packedtext) in one buffer each, and a slot of the book shown
// (entry()) made from them when asked for.
class AppointmentIndex {
public:
    // What one search found: the positions (below size()) of at most `limit` matches in shown order, and
    // how many matched in all.
    struct Found {
        std::vector<int> shown;
        int total = 0;
    };

    // Filled slots gathered for a picture in any order, their texts packed as they come: a book's reading adds
    // to it without a Qt string kept per slot.
    class Gathered {
    public:
        // Adds a slot that holds text (its blank ends already stripped).
        void add(QDate date, int slot, QStringView text);
        std::size_t size() const { return m_slots.size(); }

    private:
        friend class AppointmentIndex;
        struct Slot {
            std::int32_t day; // QDate::toJulianDay()
            std::int32_t slot;
            std::uint32_t at;
            std::uint32_t size;
        };
        QByteArray m_texts;
        std::vector<Slot> m_slots;
    };

    // Replaces the contents with the filled slots of the book behind `connectionText`, read through a
    // connection of its own that is closed again. Throws EngineError and then keeps the old contents.
    void load(const QString& connectionText, QDate today);
    // Replaces the contents with the given filled slots, in any order.
    void assign(const std::vector<store::FilledSlot>& filled, QDate today);
    void assign(Gathered gathered, QDate today);

    // Replaces the slots of `day` (none when it holds no appointment now) with `filled`, all of that day.
    void replaceDay(QDate day, std::vector<store::FilledSlot> filled);
    Found find(const QString& search, int limit) const;
    // The day the order was made for.
    QDate today() const { return m_today; }

    // The number of filled slots, and the one at a position in shown order.
    std::size_t size() const { return stowed() ? m_stowedSize : m_entries.size(); }
    store::FilledSlot entry(std::size_t position) const;

    // The bytes its contents take (its buffers as allocated).
    std::size_t heldBytes() const;

    // A picture made ahead waits for the search's first opening stowed: compressed (names and numbers repeat from
    // day to day) a run of slots at a time as the book is read, so that neither the reading nor the wait holds
    // more than a fraction of the whole picture. Only size(), today() and heldBytes() may be asked of it stowed.
    //
    // Empties the picture and begins a stowed one for today.
    void beginStowed(QDate today);
    // Adds the slots of run (in any order), which must all come after the slots stowed so far in shown order:
    // false, with nothing added, when one comes before. Throws EngineError when it cannot be compressed.
    bool stowRun(const Gathered& run);
    bool stowed() const { return m_stowing; }
    // Makes a stowed picture whole again; false when it cannot be (it is then empty).
    bool unstow();

private:
    struct Entry {
        std::int32_t day; // QDate::toJulianDay()
        std::uint32_t at; // where its packed text starts in m_texts; it ends where the next one starts
        std::uint8_t slot;
        std::uint8_t unused[3] = {}; // so that a stowed picture holds no stray bytes
    };

    std::size_t stowedBytes() const;
    // The slots in shown order (those of one day and slot in the order given).
    std::vector<Gathered::Slot> inShownOrder(std::vector<Gathered::Slot> gathered) const;
    // Empties the picture, made for today.
    void emptyFor(QDate today);
    // Whether a slot of day a comes before one of b in shown order (slots of one day keep their time order).
    bool before(std::int32_t a, int slotA, std::int32_t b, int slotB) const;
    // The packed slots texts and normalised texts of sorted, appended to the buffers, starting at entry `first`.
    static void appendEntries(const Gathered& gathered, const std::vector<Gathered::Slot>& sorted,
                              std::vector<Entry>& entries, QByteArray& texts, std::vector<std::uint32_t>& starts,
                              QByteArray& normalised);

    QDate m_today;
    std::int32_t m_todayDay = 0;
    bool m_stowing = false;
    std::size_t m_stowedSize = 0;
    qsizetype m_stowedTexts = 0;
    qsizetype m_stowedNormalised = 0;
    // A run stowed: compressed, with where its slots and texts go in the picture made whole.
    struct StowedRun {
        QByteArray bytes;
        std::size_t firstEntry;
        qsizetype textsAt;
        qsizetype normalisedAt;
    };
    std::vector<StowedRun> m_stowedRuns;
    // Makes the runs from first to end whole into the buffers, sized for the whole picture already.
    bool unstowRuns(std::size_t first, std::size_t end);
    // The last slot stowed (day, slot), which the next run must not come before.
    std::int32_t m_stowedLastDay = 0;
    int m_stowedLastSlot = -1;
    std::vector<Entry> m_entries;
    // The packed texts as stored, one after the other in shown order.
    QByteArray m_texts;
    // The packed normalised texts, each followed by a line break (which no normalised text or search key holds, so
    // no match runs across two slots): one scan of contiguous memory per keystroke.
    QByteArray m_normalised;
    // Where each entry's normalised text starts in m_normalised, and its end as the last element.
    std::vector<std::uint32_t> m_starts;
};
