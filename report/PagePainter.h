#pragma once

#include "report/DecodedPictures.h"
#include "report/LaidOutReport.h"

#include <QHash>
#include <QImage>

class QPainter;

namespace report {

// Draws laid-out pages with a QPainter on any device: the preview, a printer, a PDF. All drawing happens in
// hundredths of a millimetre, scaled once to the device, so that text is measured, wrapped and elided the
// same at every zoom and on paper.
class PagePainter {
public:
    // All the pictures of one report together may have at most this many pixels once decoded (about
    // 160 MB in memory); larger ones are refused before they are decoded.
    static constexpr qint64 MaxPicturePixels = 40'000'000;

    // Decodes every picture of the report, each one once however many items show it (items showing the
    // same picture share its bytes). Throws ReportError naming the item and its file, so that no output
    // starts with a broken picture in it, when a picture is not a PNG or JPEG picture, cannot be decoded,
    // or takes the report's pictures past MaxPicturePixels (its size is read from its header first).
    // Pictures found in known (when given) are not decoded again, and those decoded here are added to it; the
    // pixel budget is reckoned the same either way.
    explicit PagePainter(const LaidOutReport& report, DecodedPictures* known = nullptr);

    // Draws page index (from 0) with its top left corner at the painter's origin, at devicePixelsPerMm.
    void paint(QPainter& painter, int index, double devicePixelsPerMm) const;

private:
    void paintItem(QPainter& painter, const PlacedItem& placed) const;
    void paintText(QPainter& painter, const PlacedItem& placed) const;

    const LaidOutReport& m_report;
    // Decoded pictures by the address of their shared encoded bytes.
    QHash<const char*, QImage> m_images;
};

} // namespace report
