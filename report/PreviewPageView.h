#pragma once

#include <QColor>
#include <QWidget>

namespace report {

class PagePainter;
struct PageSetup;

// One page of a report drawn on screen as a sheet of paper on a grey desk, at a given scale.
class PreviewPageView : public QWidget {
    Q_OBJECT
public:
    PreviewPageView(const PagePainter& painter, const PageSetup& page, QWidget* parent = nullptr);

    // Shows the report page of that index (from 0).
    void setPageIndex(int index);
    int pageIndex() const { return m_index; }

    // Screen pixels per millimetre of paper; the view takes the size the page needs at that scale.
    void setPixelsPerMm(double pixelsPerMm);
    double pixelsPerMm() const { return m_pixelsPerMm; }

    // The desk showing around the paper, in pixels on each side.
    static constexpr int Margin = 16;
    static constexpr QRgb DeskColour = 0xff80868c;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PagePainter& m_painter;
    double m_pageWidth;
    double m_pageHeight;
    int m_index = 0;
    double m_pixelsPerMm = 1.0;
};

} // namespace report
