#include "legacy/ImportSummary.h"

#include <QCoreApplication>
#include <QDir>

namespace legacy {

namespace {


void addList(QStringList& lines, const QString& title, const QStringList& items) {
    if (items.isEmpty())
        return;
    lines << QString() << QStringLiteral("%1 (%2):").arg(title).arg(items.size());
    for (const QString& item : items)
        lines << QStringLiteral("  ") + item;
}

// How many appointments came over, honest about a book imported a second time: the slots that held the very
// text already are not counted as brought over.
QString appointmentsLine(qint64 filled, qint64 brought) {
    if (filled == 0)
        return QCoreApplication::translate("legacy", "The older book holds no appointments.");
    if (brought == filled)
        return QCoreApplication::translate("legacy", "%1 appointments (filled slots) brought over.").arg(filled);
    if (brought == 0)
        return QCoreApplication::translate("legacy", "Nothing new: all %1 appointments (filled slots) of the older "
                                                     "book were in the book already.")
            .arg(filled);
    return QCoreApplication::translate("legacy", "%1 appointments (filled slots) read, %2 of them new to the book; "
                                                 "the others were in it already.")
        .arg(filled)
        .arg(brought);
}

} // namespace

QString ImportSummary::headline() const {
    QStringList lines;
    lines << QCoreApplication::translate("legacy", "Imported \"%1\" into \"%2\".")
                 .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(book));
    lines << QCoreApplication::translate("legacy", "%1 records read, %2 new days, %3 days in the book now.")
                 .arg(records)
                 .arg(newDays)
                 .arg(bookDays);
    lines << appointmentsLine(filledSlots, newSlots);
    if (mergeCount > 0)
        lines << QCoreApplication::translate("legacy", "%1 days were merged slot by slot, %2 slots hold two texts "
                                                       "joined by \" / \".")
                     .arg(mergedDays.size())
                     .arg(joinedSlots.size());
    if (!outsideCalendar.isEmpty())
        lines << QCoreApplication::translate("legacy", "%1 days lie outside 2008-2035: they are kept, but the month "
                                                       "window does not show them.")
                     .arg(outsideCalendar.size());
    if (!grownSlots.isEmpty())
        lines << QCoreApplication::translate("legacy", "%1 slots hold longer texts than 255 characters; they were "
                                                       "made larger so that nothing was cut.")
                     .arg(grownSlots.size());
    if (!ignoredColumns.isEmpty() || !ignoredRecords.isEmpty())
        lines << QCoreApplication::translate("legacy", "Not brought over: %1 columns and %2 empty records without a "
                                                       "date (listed below).")
                     .arg(ignoredColumns.size())
                     .arg(ignoredRecords.size());
    if (!keptAs.isEmpty())
        lines << QCoreApplication::translate("legacy", "The older file is kept, unchanged, as \"%1\".")
                     .arg(QDir::toNativeSeparators(keptAs));
    lines << QCoreApplication::translate("legacy", "Every day and slot was read back from the new book and found equal.");
    return lines.join(QLatin1Char('\n'));
}

QString ImportSummary::text() const {
    QStringList lines{headline()};
    addList(lines, QCoreApplication::translate("legacy", "Days merged slot by slot"), mergedDays);
    addList(lines, QCoreApplication::translate("legacy", "Slots holding two texts joined by \" / \""), joinedSlots);
    addList(lines, QCoreApplication::translate("legacy", "Days outside 2008-2035, kept"), outsideCalendar);
    addList(lines, QCoreApplication::translate("legacy", "Slots made larger"), grownSlots);
    addList(lines, QCoreApplication::translate("legacy", "Columns not brought over"), ignoredColumns);
    addList(lines, QCoreApplication::translate("legacy", "Records without a date or text, not brought over"), ignoredRecords);
    return lines.join(QLatin1Char('\n'));
}

} // namespace legacy
