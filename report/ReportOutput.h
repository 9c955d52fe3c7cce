#pragma once

#include "report/LaidOutReport.h"
#include "report/PagePainter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QPageLayout;

// Sending laid-out pages to paper or to a PDF file.
namespace report::output {

// The text every printer path gives when the system knows no printer.
// Shown through the catalogue: QCoreApplication::translate("report", NoPrinterMessage).
inline constexpr const char* NoPrinterMessage = QT_TRANSLATE_NOOP("report", "No printer is installed on this computer.");

// Hears each page as it is drawn: its place in the output (from 1) and the output's length.
using Progress = std::function<void(int position, int total)>;

// The page size and orientation of the report, with no margins (the report places its own).
QPageLayout pageLayoutOf(const PageSetup& page);

// Writes the pages to a PDF file. The file appears whole or not at all: it is written to a new file in the
// target's folder and renamed into place at the end, so that a link standing at path is itself replaced and
// whatever it leads to stays untouched. Throws ReportError, writing nothing, when whyNotWritable() refuses
// path (checked before and again just before the rename) or the file cannot be written. Whether an existing
// file may be replaced is the caller's question to ask.
void writePdf(const LaidOutReport& report, const PagePainter& painter, const QList<int>& pages, const QString& path,
              const QStringList& protectedFiles, const Progress& progress = {});

// Throws ReportError with NoPrinterMessage when the system has no printer, or naming the printer when
// printerName is not one of them. An empty name picks the default printer, else the first.
QString choosePrinter(const QString& printerName);

// Prints the pages on the named printer (see choosePrinter()). Throws ReportError when there is no such
// printer or it does not take the job; nothing is sent then.
void print(const LaidOutReport& report, const PagePainter& painter, const QList<int>& pages, const QString& printerName,
           const Progress& progress = {});

} // namespace report::output
