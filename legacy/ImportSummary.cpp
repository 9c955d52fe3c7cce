#include "legacy/ImportSummary.h"

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

} // namespace

QString ImportSummary::headline() const {
    QStringList lines;
    lines << QStringLiteral("Imported \"%1\" into \"%2\".")
                 .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(book));
    lines << QStringLiteral("%1 records read, %2 new days, %3 days in the book now, %4 appointments (filled slots) "
                            "brought over.")
                 .arg(records)
                 .arg(newDays)
                 .arg(bookDays)
                 .arg(filledSlots);
    if (mergeCount > 0)
        lines << QStringLiteral("%1 days were merged slot by slot, %2 slots hold two texts joined by \" / \".")
                     .arg(mergedDays.size())
                     .arg(joinedSlots.size());
    if (!outsideCalendar.isEmpty())
        lines << QStringLiteral("%1 days lie outside 2008-2035: they are kept, but the month window does not show "
                                "them.")
                     .arg(outsideCalendar.size());
    if (!grownSlots.isEmpty())
        lines << QStringLiteral("%1 slots hold longer texts than 255 characters; they were made larger so that "
                                "nothing was cut.")
                     .arg(grownSlots.size());
    if (!ignoredColumns.isEmpty() || !ignoredRecords.isEmpty())
        lines << QStringLiteral("Not brought over: %1 columns and %2 empty records without a date (listed below).")
                     .arg(ignoredColumns.size())
                     .arg(ignoredRecords.size());
    if (!keptAs.isEmpty())
        lines << QStringLiteral("The older file is kept, unchanged, as \"%1\".").arg(QDir::toNativeSeparators(keptAs));
    lines << QStringLiteral("Every day and slot was read back from the new book and found equal.");
    return lines.join(QLatin1Char('\n'));
}

QString ImportSummary::text() const {
    QStringList lines{headline()};
    addList(lines, QStringLiteral("Days merged slot by slot"), mergedDays);
    addList(lines, QStringLiteral("Slots holding two texts joined by \" / \""), joinedSlots);
    addList(lines, QStringLiteral("Days outside 2008-2035, kept"), outsideCalendar);
    addList(lines, QStringLiteral("Slots made larger"), grownSlots);
    addList(lines, QStringLiteral("Columns not brought over"), ignoredColumns);
    addList(lines, QStringLiteral("Records without a date or text, not brought over"), ignoredRecords);
    return lines.join(QLatin1Char('\n'));
}

} // namespace legacy
