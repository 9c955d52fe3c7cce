#pragma once

#include <QString>

namespace report {

enum class PageOrientation { Portrait, Landscape };

// The paper and its margins, in millimetres. width and height are the portrait sizes of the paper;
// pageWidth() and pageHeight() are the sizes as printed, after the orientation.
struct PageSetup {
    // "A4", "Letter" or "custom".
    QString sizeName = QStringLiteral("A4");
    double width = 210.0;
    double height = 297.0;
    PageOrientation orientation = PageOrientation::Portrait;
    double marginLeft = 10.0;
    double marginTop = 10.0;
    double marginRight = 10.0;
    double marginBottom = 10.0;

    double pageWidth() const { return orientation == PageOrientation::Portrait ? width : height; }
    double pageHeight() const { return orientation == PageOrientation::Portrait ? height : width; }
    double printableWidth() const { return pageWidth() - marginLeft - marginRight; }
    double printableHeight() const { return pageHeight() - marginTop - marginBottom; }
};

} // namespace report
