#include "day/WeekPrint.h"

#include "day/ReportHost.h"
#include "platform/Files.h"
#include "report/MemoryDataset.h"
#include "report/OutputOptions.h"
#include "report/ReportError.h"
#include "report/ReportProject.h"
#include "store/Connection.h"
#include "store/FilledSlots.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

namespace {

std::vector<store::FilledSlot> readDays(const QString& connectionText, QDate first, QDate last) {
    store::Connection connection;
    connection.reopen(connectionText);
    std::vector<store::FilledSlot> filled;
    try {
        filled = store::readFilledSlots(connection, first, last);
    } catch (...) {
        connection.close();
        throw;
    }
    connection.close();
    return filled;
}

// Runs the project from `sheet` with the given options (the "Output Options" window when none), protecting the
// book and both sheets of its folder. A sheet that is missing is reported with `missing`'s advice.
bool run(report::ReportProject& project, const QString& connectionText, const QString& sheet,
         const report::OutputOptions* options, QString (*missing)(const QString&)) {
    const QString book = store::parseConnectionText(connectionText).dataSource;
    const QString folder = QFileInfo(book).absolutePath();
    project.setProjectFile(sheet);
    project.setProtectedFiles({book, QDir(folder).filePath(QLatin1String(TForm6::ReportFileName)),
                               QDir(folder).filePath(QLatin1String(WeekPrint::WeekSheetFileName))});
    try {
        return options ? project.execute(*options) : project.execute();
    } catch (const report::ReportError&) {
        // The sheet is named with the backslash the data folder's path ends in, as the day's is.
        QString slashed = sheet;
        slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!platform::somethingAt(slashed) && !platform::somethingAt(sheet))
            throw report::ReportError(missing(slashed));
        throw;
    }
}

QString missingDaySheet(const QString& sheet) {
    return TForm6::missingSheetMessage(sheet);
}

} // namespace

QString WeekPrint::weekSheetOf(const QString& dataFolder) {
    return dataFolder + QStringLiteral("\\") + QLatin1String(WeekSheetFileName);
}

QString WeekPrint::dayConnectionName(int weekday) {
    return QStringLiteral("Day%1").arg(weekday);
}

std::vector<report::MemoryDataset> WeekPrint::daysOf(QDate first, QDate last,
                                                     const std::vector<store::FilledSlot>& filled) {
    const QStringList& slotNames = store::slotColumnNames();
    QStringList columns{QLatin1String(store::DayColumnName)};
    columns += slotNames;
    const qint64 days = first.daysTo(last) + 1;
    std::vector<QVariantList> rows;
    rows.reserve(static_cast<std::size_t>(std::max<qint64>(days, 0)));
    for (qint64 day = 0; day < days; ++day) {
        QVariantList row(columns.size());
        row[0] = first.addDays(day);
        rows.push_back(std::move(row));
    }
    for (const store::FilledSlot& slot : filled) {
        const qint64 day = first.daysTo(slot.date);
        if (day >= 0 && day < days && slot.slot >= 0 && slot.slot < slotNames.size())
            rows[static_cast<std::size_t>(day)][slot.slot + 1] = slot.text;
    }
    std::vector<report::MemoryDataset> datasets;
    datasets.reserve(rows.size());
    for (const QVariantList& row : rows) {
        datasets.emplace_back(columns);
        datasets.back().appendRow(row);
    }
    return datasets;
}

bool WeekPrint::printWeek(QWidget* parent, const QString& connectionText, QDate day, const QString& weekSheet,
                          const report::OutputOptions* options) {
    const QDate monday = day.addDays(1 - day.dayOfWeek());
    const QDate sunday = monday.addDays(6);
    const std::vector<report::MemoryDataset> days = daysOf(monday, sunday, readDays(connectionText, monday, sunday));
    report::ReportProject project(parent);
    for (int weekday = 1; weekday <= 7; ++weekday)
        project.setDataset(dayConnectionName(weekday), &days.at(static_cast<std::size_t>(weekday - 1)));
    return run(project, connectionText, weekSheet, options, &WeekPrint::missingWeekSheetMessage);
}

bool WeekPrint::printDays(QWidget* parent, const QString& connectionText, QDate first, QDate last,
                          const QString& daySheet, const report::OutputOptions* options) {
    if (!first.isValid() || !last.isValid() || last < first)
        throw std::runtime_error(
            QCoreApplication::translate("WeekPrint", "The last day to print comes before the first.").toStdString());
    if (first.daysTo(last) >= MostDays)
        throw std::runtime_error(QCoreApplication::translate("WeekPrint", "At most %1 days are printed at a time.")
                                     .arg(MostDays)
                                     .toStdString());
    const std::vector<report::MemoryDataset> days = daysOf(first, last, readDays(connectionText, first, last));
    QList<report::DataConnections> runs;
    runs.reserve(static_cast<qsizetype>(days.size()));
    for (const report::MemoryDataset& day : days) {
        report::DataConnections run;
        run.insert(QLatin1String(TForm6::DataConnectionName), &day);
        runs.append(run);
    }
    report::ReportProject project(parent);
    project.setRuns(runs);
    return run(project, connectionText, daySheet, options, &missingDaySheet);
}

QString WeekPrint::missingWeekSheetMessage(const QString& sheet) {
    QString advice = QCoreApplication::translate(
        "WeekPrint", "The week is printed with this file, the week sheet, which belongs beside data.mdb; the days "
                     "still print one by one with RANTEBOU.rav. Starting Orvella from its menu entry or shortcut "
                     "puts the default week sheet back when it is missing.");
    if (const QString copy = TForm6::defaultCopyOf(QLatin1String(WeekSheetFileName)); !copy.isEmpty())
        advice += QLatin1Char(' ') +
                  QCoreApplication::translate("WeekPrint", "Or copy the default one there from \"%1\".").arg(copy);
    return QStringLiteral("The following reporting project does not exist:\n\"%1\"\n\n%2")
        .arg(QDir::toNativeSeparators(QFileInfo(sheet).absoluteFilePath()), advice);
}
