#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

// Reads PDF files back with poppler's command-line tools, so that tests check what a reader of the file
// would see rather than what the engine meant to write.
namespace PdfTools {

// True when /usr/bin/pdftotext and /usr/bin/pdfinfo are there; tests that need them skip otherwise.
bool available();

// The page count that pdfinfo reports, or nothing when the file is not a readable PDF.
std::optional<int> pageCount(const QString& path);

// The size of the first page in points (1/72 inch), as pdfinfo reports it.
std::optional<QSizeF> pageSize(const QString& path);

// The text of the pages, in reading order (pdftotext -layout), or nothing when it cannot be read.
std::optional<QString> text(const QString& path);

// The text of one page (from 1).
std::optional<QString> pageText(const QString& path, int page);

// The text that lies within an area of one page (from 1), given in points from the page's top left corner.
std::optional<QString> areaText(const QString& path, int page, const QRectF& area);

} // namespace PdfTools
