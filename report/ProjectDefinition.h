#pragma once

#include "report/ReportDefinition.h"
#include "report/SourceFile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace report {

// A path a definition was made from, and the state of the file it led to when it was read.
struct SourceState {
    QString path;
    FileVersion version;
};

// A loaded report-definition file: its data connections, its reports and which of them runs.
struct ProjectDefinition {
    // The path the definition was read from, as given; relative image paths were resolved against it.
    QString filePath;
    // The files it was made from: the definition file (when read from one) and every picture file. Output
    // never writes over them.
    QStringList sourceFiles;
    // Every path read from when the definition was loaded (the definition file, and each picture under every
    // name that reached it) with the state of its file then; and whether any file changed while it was read.
    // A copy kept for later runs stands only while every path still leads to a file in that same state.
    QList<SourceState> sourceStates;
    bool changedWhileRead = false;
    QStringList connections;
    QList<ReportDefinition> reports;
    // The report that runs: the one the project names as active, else its first report.
    int activeIndex = 0;

    const ReportDefinition& activeReport() const { return reports.at(activeIndex); }
};

} // namespace report
