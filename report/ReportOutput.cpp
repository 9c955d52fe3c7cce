#include "report/ReportOutput.h"

#include "platform/FilePlacement.h"
#include "report/OutputTarget.h"
#include "report/ReportError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRandomGenerator>

namespace report::output {

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Draws the pages one after the other on a device that has begun painting; newPage starts each page but
// the first.
void drawPages(QPainter& target, QPagedPaintDevice& device, const PagePainter& painter, const QList<int>& pages,
               double pixelsPerMm, const Progress& progress) {
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (progress)
            progress(static_cast<int>(i + 1), static_cast<int>(pages.size()));
        if (i > 0)
            device.newPage();
        painter.paint(target, pages[i], pixelsPerMm);
    }
}

} // namespace

QPageLayout pageLayoutOf(const PageSetup& page) {
    QPageSize size;
    if (page.sizeName == u"A4")
        size = QPageSize(QPageSize::A4);
    else if (page.sizeName == u"Letter")
        size = QPageSize(QPageSize::Letter);
    else
        size = QPageSize(QSizeF(page.width, page.height), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size,
                       page.orientation == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void writePdf(const LaidOutReport& report, const PagePainter& painter, const QList<int>& pages, const QString& path,
              const QStringList& protectedFiles, const Progress& progress) {
    if (const QString refusal = whyNotWritable(path, protectedFiles); !refusal.isEmpty())
        throw ReportError(refusal);
    const QFileInfo target(path);
    // The report is the user's document: it keeps the access of the file it replaces (or a new file's).
    platform::FilePlacement placement(
        path, platform::FilePlacement::Mode::Replace, platform::FilePlacement::Access::Usual,
        target.absolutePath() + QStringLiteral("/.") + target.fileName() +
            QStringLiteral(".%1.part").arg(QRandomGenerator::global()->generate(), 6, 16, QLatin1Char('0')));
    const auto cannotWrite = [&path](const QString& why) {
        return ReportError(QCoreApplication::translate("report", "Cannot write the report to %1: %2.").arg(quoted(path), why));
    };
    if (const QString why = placement.createPartial(); !why.isEmpty())
        throw cannotWrite(why);
    {
        QFile file(placement.partialPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw cannotWrite(file.errorString());
        QPdfWriter writer(&file);
        writer.setPageLayout(pageLayoutOf(report.page));
        writer.setTitle(report.name);
        QPainter device;
        if (!device.begin(&writer))
            throw ReportError(QCoreApplication::translate("report", "Cannot write the report to %1.").arg(quoted(path)));
        drawPages(device, writer, painter, pages, writer.resolution() / 25.4, progress);
        device.end();
        if (!file.flush() || file.error() != QFile::NoError)
            throw cannotWrite(file.errorString());
    }
    // The place may have changed while the pages were drawn.
    if (const QString refusal = whyNotWritable(path, protectedFiles); !refusal.isEmpty())
        throw ReportError(refusal);
    if (const QString why = placement.place(); !why.isEmpty())
        throw cannotWrite(why);
}

QString choosePrinter(const QString& printerName) {
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        throw ReportError(QCoreApplication::translate("report", NoPrinterMessage));
    if (printerName.isEmpty()) {
        const QPrinterInfo fallback = QPrinterInfo::defaultPrinter();
        return fallback.isNull() ? printers.first().printerName() : fallback.printerName();
    }
    for (const QPrinterInfo& printer : printers)
        if (printer.printerName() == printerName)
            return printerName;
    throw ReportError(QCoreApplication::translate("report", "The printer %1 is not installed on this computer.").arg(quoted(printerName)));
}

void print(const LaidOutReport& report, const PagePainter& painter, const QList<int>& pages, const QString& printerName,
           const Progress& progress) {
    const QString name = choosePrinter(printerName);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(report.page));
    printer.setDocName(report.name);
    printer.setCopyCount(1);
    QPainter target;
    if (!target.begin(&printer))
        throw ReportError(QCoreApplication::translate("report", "The printer %1 did not take the report.").arg(quoted(name)));
    drawPages(target, printer, painter, pages, printer.resolution() / 25.4, progress);
    if (!target.end())
        throw ReportError(QCoreApplication::translate("report", "The printer %1 did not take the whole report.").arg(quoted(name)));
}

} // namespace report::output
