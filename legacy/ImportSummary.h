#pragma once

#include <QString>
#include <QStringList>

namespace legacy {

// What an import did, for the person who asked for it: how much came over, and every day and slot that
// needs a look (merged, outside the calendar, ignored).
struct ImportSummary {
    QString source;              // the older book's file
    QString book;                // the book the days went into
    QString keptAs;              // where the older file stays, when a data folder was converted in place
    qint64 records = 0;          // records read from the older book
    qint64 newDays = 0;          // days the book did not have before
    qint64 bookDays = 0;         // days in the book now
    qint64 filledSlots = 0;      // slots of the imported records that hold an appointment
    qint64 newSlots = 0;         // of those, the appointments the book did not hold before
    qint64 mergeCount = 0;       // records that met a day already written
    QStringList mergedDays;      // "d/M/yyyy (why)"
    QStringList joinedSlots;     // "d/M/yyyy 0900-0930" where two different texts were both kept
    QStringList outsideCalendar; // days before 2008 or after 2035: kept, but not shown by the month window
    QStringList ignoredColumns;  // columns of the older table that are not brought over
    QStringList ignoredRecords;  // records without a date and without any text
    QStringList grownSlots;      // "0900-0930: 310 characters" where the slot size grew to keep a text whole

    // A few lines for a message box.
    QString headline() const;
    // The headline followed by every list.
    QString text() const;
};

} // namespace legacy
