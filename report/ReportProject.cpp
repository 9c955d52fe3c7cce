#include "report/ReportProject.h"

#include "report/DefinitionCache.h"
#include "report/OutputOptionsDialog.h"
#include "report/OutputTarget.h"
#include "report/PagePainter.h"
#include "report/PageSelection.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"
#include "report/ReportOutput.h"
#include "report/ReportPreviewWindow.h"
#include "report/ReportStatusWindow.h"
#include "report/UserMessages.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <memory>

namespace report {

namespace {

// Definitions larger than this take long enough to read that "Report Status" says so meanwhile.
constexpr qint64 LargeDefinitionBytes = 512 * 1024;

// A report read, checked against its data and laid out; nothing has been output yet.
struct PreparedReport {
    // The definition (perhaps kept from an earlier run, see DefinitionCache) and its decoded pictures.
    std::shared_ptr<const DefinitionCache::Entry> definition;
    LaidOutReport laidOut;
};

// showStatus: "Report Status" opens over statusParent while a large definition is read.
PreparedReport prepare(const QString& givenPath, const QString& path, const DataConnections& data, bool showStatus,
                       QWidget* statusParent) {
    std::unique_ptr<ReportStatusWindow> status;
    const auto beforeReading = [&](qint64 bytes) {
        if (showStatus && bytes > LargeDefinitionBytes) {
            status = std::make_unique<ReportStatusWindow>(QFileInfo(givenPath).fileName(), statusParent);
            status->showStep(QCoreApplication::translate("report", "Reading the report definition"));
        }
    };
    const auto progress = [&status](qint64 elements) {
        if (status)
            status->showStep(QCoreApplication::translate("report", "Reading the report definition: %1 elements").arg(elements));
    };
    PreparedReport prepared;
    prepared.definition = DefinitionCache::shared().read(path, givenPath, progress, beforeReading);
    if (status)
        status->showStep(QCoreApplication::translate("report", "Laying out the report"));
    prepared.laidOut = ReportLayouter::layOut(prepared.definition->project, data);
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
    return static_cast<int>(prepare(m_projectFile, existingPath(), m_data, false, nullptr).laidOut.pages.size());
}

bool ReportProject::execute() {
    return run(nullptr);
}

bool ReportProject::execute(const OutputOptions& options) {
    return run(&options);
}

bool ReportProject::run(const OutputOptions* preset) {
    // Everything that can fail before output is done first: reading, checking, laying out, the pictures.
    const PreparedReport prepared = prepare(m_projectFile, existingPath(), m_data, true, m_dialogParent);
    const LaidOutReport& laidOut = prepared.laidOut;
    const PagePainter painter(laidOut, &prepared.definition->pictures);
    const int pageCount = static_cast<int>(laidOut.pages.size());
    const QStringList protectedFiles = m_protectedFiles + prepared.definition->project.sourceFiles;

    OutputOptions options;
    if (preset) {
        options = *preset;
    } else {
        OutputOptionsDialog dialog(m_dialogParent, OutputOptionsDialog::Mode::AnyDestination, pageCount);
        dialog.setProtectedFiles(protectedFiles);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        options = dialog.options();
    }
    const QList<int> pages = selectPages(pageCount, options);
    if (options.destination == OutputOptions::Destination::Printer)
        output::choosePrinter(options.printerName);
    if (options.destination == OutputOptions::Destination::File) {
        if (options.filePath.trimmed().isEmpty())
            throw ReportError(QCoreApplication::translate("report", "No file was named to write the report to."));
        if (const QString refusal = output::whyNotWritable(options.filePath, protectedFiles); !refusal.isEmpty())
            throw ReportError(refusal);
        if (!options.replaceExisting && output::somethingAt(options.filePath) &&
            !UserMessages::ask(m_dialogParent, QStringLiteral("Output Options"),
                               output::replaceQuestion(options.filePath)))
            return false;
    }

    ReportStatusWindow status(laidOut.name, m_dialogParent);
    switch (options.destination) {
    case OutputOptions::Destination::File:
        output::writePdf(laidOut, painter, pages, options.filePath, protectedFiles, [&status](int position, int total) {
            status.showPage(QStringLiteral("Writing"), position, total);
        });
        break;
    case OutputOptions::Destination::Printer:
        output::print(laidOut, painter, pages, options.printerName, [&status](int position, int total) {
            status.showPage(QStringLiteral("Printing"), position, total);
        });
        break;
    case OutputOptions::Destination::Preview: {
        status.showStep(QCoreApplication::translate("report", "Preparing the preview of %1 page(s)").arg(pageCount));
        ReportPreviewWindow preview(laidOut, painter, selectPagesOnce(pageCount, options), m_dialogParent);
        preview.setProtectedFiles(protectedFiles);
        status.close();
        preview.exec();
        break;
    }
    }
    return true;
}

} // namespace report
