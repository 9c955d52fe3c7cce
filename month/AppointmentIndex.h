#pragma once

#include "store/FilledSlots.h"

#include <QDate>
#include <QString>

#include <vector>

// The search window's picture of the book in memory: every filled slot with its text in the normalised
// form searches compare with, in the order results are shown — from `today` on in ascending order first,
// then the past, most recent day first (the slots of one day always in time order). The month window keeps one
// for the run: loaded when the search first opens, then kept current a day at a time (a day that closed,
// another desk's save), so that opening the search and each keystroke only scan memory.
class AppointmentIndex {
public:
    // What one search found: the positions (into entries()) of at most `limit` matches in shown order, and
    // how many matched in all.
    struct Found {
        std::vector<int> shown;
        int total = 0;
    };

    // Replaces the contents with the filled slots of the book behind `connectionText`, read through a
    // connection of its own that is closed again. Throws EngineError and then keeps the old contents.
    void load(const QString& connectionText, QDate today);
    // Replaces the contents with the given filled slots, in any order.
    void assign(std::vector<store::FilledSlot> filled, QDate today);

    // Replaces the slots of `day` (none when it holds no appointment now) with `filled`, all of that day.
    void replaceDay(QDate day, std::vector<store::FilledSlot> filled);
    Found find(const QString& search, int limit) const;
    // The day the order was made for.
    QDate today() const { return m_today; }

    // The filled slots in shown order.
    const std::vector<store::FilledSlot>& entries() const { return m_entries; }

private:
    // Whether a entry of `a` comes before one of `b` in shown order.
    bool before(const store::FilledSlot& a, const store::FilledSlot& b) const;

    QDate m_today;
    std::vector<store::FilledSlot> m_entries;
    // The normalised texts of all entries in one piece, each followed by a line break (which no normalised
    // text or search key holds, so no match runs across two slots): one scan of contiguous memory per
    // keystroke instead of one per slot.
    QString m_text;
    // Where each entry's text starts in m_text, and its end as the last element.
    std::vector<qsizetype> m_starts;
};
