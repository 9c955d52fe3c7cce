#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace store {

class Connection;

// One text for one half hour of one day.
struct SlotWrite {
    QDate day;
    int slot = 0; // 0 for 08:00-08:30 … 27 for 21:30-22:00, the order of slotColumnNames()
    QString text;
};

// How a set of slot writes falls on the book, each write in the order given within its list.
struct BookingPlan {
    std::vector<SlotWrite> free;  // the slot is free: written (or to be written)
    std::vector<SlotWrite> taken; // the slot holds another text: left as it is
    std::vector<SlotWrite> same;  // the slot already holds this very text (a second import): nothing to do
};

// What bookFreeSlots would do now, read with one range read of the days involved. Two writes to one slot: the
// first takes it, the second then finds it taken (or, with the same text, already holding it). Throws
// EngineError, for a write it would refuse too.
BookingPlan planBooking(Connection& connection, const std::vector<SlotWrite>& writes);

// Writes each text only where its slot is free (empty or blanks only, as holdsAppointment decides), in one
// transaction on the book connection holds: the missing day records are made, and what is free is decided on
// the records as they stand inside that transaction, held against every other writer, so a slot another desk
// filled since a plan is reported as taken, never overwritten. All or nothing: any failure writes nothing and
// throws EngineError. A write of a day that is no date, of a slot outside 0…27, of a text that holds no
// appointment, holds U+0000 or is longer than a slot holds (SlotTextSize characters) is refused before anything
// is read. Returns what it did.
BookingPlan bookFreeSlots(Connection& connection, const std::vector<SlotWrite>& writes);

} // namespace store
