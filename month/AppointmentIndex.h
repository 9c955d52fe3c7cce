#pragma once

#include "store/FilledSlots.h"

#include <QDate>
#include <QString>

#include <vector>

// The search window's picture of the book in memory: every filled slot with its text in the normalised
// form searches compare with, in the order results are shown — from `today` on in ascending order first,
// then the past, most recent day first (the slots of one day always in time order). Loaded once when the
// window opens and again after a day closes, so that a keystroke only scans memory.
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

    Found find(const QString& search, int limit) const;

    // The filled slots in shown order.
    const std::vector<store::FilledSlot>& entries() const { return m_entries; }

private:
    std::vector<store::FilledSlot> m_entries;
    // The normalised texts of all entries in one piece, each followed by a line break (which no normalised
    // text or search key holds, so no match runs across two slots): one scan of contiguous memory per
    // keystroke instead of one per slot.
    QString m_text;
    // Where each entry's text starts in m_text, and its end as the last element.
    std::vector<qsizetype> m_starts;
};
