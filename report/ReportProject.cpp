#include "report/ReportProject.h"

#include "report/DefinitionReader.h"
#include "report/OutputOptionsDialog.h"
#include "report/PagePainter.h"
#include "report/PageSelection.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"
#include "report/ReportOutput.h"
#include "report/ReportPreviewWindow.h"
#include "report/ReportStatusWindow.h"

#include <QFile>
#include <QFileInfo>

namespace report {

namespace {

// A report read, checked against its data and laid out; nothing has been output yet.
struct PreparedReport {
    ProjectDefinition project;
    LaidOutReport laidOut;
};

PreparedReport prepare(const QString& givenPath, const QString& path, const DataConnections& data) {
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw ReportError(QStringLiteral("Cannot read the report definition \"%1\": it is not a file.").arg(givenPath));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(
            QStringLiteral("Cannot read the report definition \"%1\": %2.").arg(givenPath, file.errorString()));
    PreparedReport prepared;
    prepared.project = DefinitionReader::readBytes(file.readAll(), givenPath, QFileInfo(path).absolutePath());
    prepared.laidOut = ReportLayouter::layOut(prepared.project, data);
    return prepared;
}

} // namespace

ReportProject::ReportProject(QWidget* dialogParent) : m_dialogParent(dialogParent) {}

void ReportProject::setProjectFile(const QString& path) {
    m_projectFile = path;
}

void ReportProject::setDataset(const QString& connection, const Dataset* dataset) {
    if (dataset)
        m_data.insert(connection, dataset);
    else
        m_data.remove(connection);
}

QString ReportProject::existingPath() const {
    if (!m_projectFile.isEmpty()) {
        if (QFileInfo::exists(m_projectFile))
            return m_projectFile;
        if (m_projectFile.contains(QLatin1Char('\\'))) {
            QString slashed = m_projectFile;
            slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
            if (QFileInfo::exists(slashed))
                return slashed;
        }
    }
    throw ReportError(QStringLiteral("The following reporting project does not exist:\n\"%1\"").arg(m_projectFile));
}

int ReportProject::pageCount() const {
    return static_cast<int>(prepare(m_projectFile, existingPath(), m_data).laidOut.pages.size());
}

bool ReportProject::execute() {
    return run(nullptr);
}

bool ReportProject::execute(const OutputOptions& options) {
    return run(&options);
}

bool ReportProject::run(const OutputOptions* preset) {
    // Everything that can fail before output is done first: reading, checking, laying out, the pictures.
    const PreparedReport prepared = prepare(m_projectFile, existingPath(), m_data);
    const LaidOutReport& laidOut = prepared.laidOut;
    const PagePainter painter(laidOut);
    const int pageCount = static_cast<int>(laidOut.pages.size());

    OutputOptions options;
    if (preset) {
        options = *preset;
    } else {
        OutputOptionsDialog dialog(m_dialogParent, OutputOptionsDialog::Mode::AnyDestination, pageCount);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        options = dialog.options();
    }
    const QList<int> pages = selectPages(pageCount, options);
    if (options.destination == OutputOptions::Destination::Printer)
        output::choosePrinter(options.printerName);
    if (options.destination == OutputOptions::Destination::File && options.filePath.trimmed().isEmpty())
        throw ReportError(QStringLiteral("No file was named to write the report to."));

    ReportStatusWindow status(laidOut.name, m_dialogParent);
    switch (options.destination) {
    case OutputOptions::Destination::File:
        output::writePdf(laidOut, painter, pages, options.filePath, [&status](int position, int total) {
            status.showPage(QStringLiteral("Writing"), position, total);
        });
        break;
    case OutputOptions::Destination::Printer:
        output::print(laidOut, painter, pages, options.printerName, [&status](int position, int total) {
            status.showPage(QStringLiteral("Printing"), position, total);
        });
        break;
    case OutputOptions::Destination::Preview: {
        status.showStep(QStringLiteral("Preparing the preview of %1 page(s)").arg(pageCount));
        ReportPreviewWindow preview(laidOut, painter, selectPagesOnce(pageCount, options), m_dialogParent);
        status.close();
        preview.exec();
        break;
    }
    }
    return true;
}

} // namespace report
