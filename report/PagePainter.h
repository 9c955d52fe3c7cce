#pragma once

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
    // Decodes every picture of the report; throws ReportError naming the item when one is not a PNG or
    // JPEG picture, so that no output starts with a broken picture in it.
    explicit PagePainter(const LaidOutReport& report);

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
