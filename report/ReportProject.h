#pragma once

#include "report/Dataset.h"
#include "report/OutputOptions.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace report {

// A report project: a report-definition file and the datasets bound to its data connections. execute()
// loads the file, picks the active report, checks it against the data, lays it out and takes the user
// through "Output Options", "Report Status" and then the preview, the printer or a PDF file.
//
// Faults throw ReportError and produce no output at all: a missing file (the message names it exactly as
// given), an unreadable definition (file, line, column and what is wrong), data that does not fit the
// definition, no printer, a file that cannot be written. Nothing is caught on the way out.
class ReportProject {
public:
    // Dialogs open over dialogParent (may be null).
    explicit ReportProject(QWidget* dialogParent = nullptr);

    // The full path of the report-definition file. A path written with "\" separators that does not exist
    // as written is also looked for with "/" in their place, so that Windows-style paths work anywhere;
    // messages always name the path as given.
    void setProjectFile(const QString& path);
    QString projectFile() const { return m_projectFile; }

    // Files the output must never replace: the program names the files it works from (its data, say). The
    // project adds its own definition file and picture files. They are compared by file identity, so
    // another name or a link for one of them is refused as well (see output::whyNotWritable()).
    void setProtectedFiles(const QStringList& paths) { m_protectedFiles = paths; }
    QStringList protectedFiles() const { return m_protectedFiles; }

    // Binds a dataset to a data connection of the project (nullptr unbinds it). The project does not own
    // it; it must live until execute() returns.
    void setDataset(const QString& connection, const Dataset* dataset);

    // Runs the active report once for each set of datasets, in order, in one output (one print job, one PDF
    // file, one preview): each run starts on a page of its own and numbers its pages within itself, as if it
    // were printed alone. The sets are not owned and must live until execute() returns. An empty list goes
    // back to the one run over the datasets bound by setDataset().
    void setRuns(const QList<DataConnections>& runs) { m_runs = runs; }

    // Runs the active report with the "Output Options" window. Returns false when the user cancelled it
    // or declined to replace an existing file (nothing was produced), true when the output was made (or
    // the preview closed). "Report Status" is up while a large definition is read.
    bool execute();
    // Runs the active report with the given options and no "Output Options" window; "Report Status" and,
    // for the preview, "Report Preview" still show. A PDF file that already exists is replaced only when
    // options.replaceExisting says so or the user answers Yes when asked.
    bool execute(const OutputOptions& options);

    // Loads and checks the project without any output: the number of pages the active report would have.
    int pageCount() const;

private:
    bool run(const OutputOptions* preset);
    QString existingPath() const;
    QList<DataConnections> runs() const;

    QPointer<QWidget> m_dialogParent;
    QString m_projectFile;
    QStringList m_protectedFiles;
    DataConnections m_data;
    QList<DataConnections> m_runs;
};

} // namespace report
