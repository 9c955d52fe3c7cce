#pragma once

#include "report/ReportDefinition.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace report {

// A loaded report-definition file: its data connections, its reports and which of them runs.
struct ProjectDefinition {
    // The path the definition was read from, as given; relative image paths were resolved against it.
    QString filePath;
    // The files it was made from: the definition file (when read from one) and every picture file. Output
    // never writes over them.
    QStringList sourceFiles;
    QStringList connections;
    QList<ReportDefinition> reports;
    // The report that runs: the one the project names as active, else its first report.
    int activeIndex = 0;

    const ReportDefinition& activeReport() const { return reports.at(activeIndex); }
};

} // namespace report
