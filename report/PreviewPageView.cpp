#include "report/PreviewPageView.h"

#include "report/PagePainter.h"
#include "report/PageSetup.h"

#include <QPainter>

namespace report {

PreviewPageView::PreviewPageView(const PagePainter& painter, const PageSetup& page, QWidget* parent)
    : QWidget(parent), m_painter(painter), m_pageWidth(page.pageWidth()), m_pageHeight(page.pageHeight()) {
    setObjectName(QStringLiteral("PageView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setPixelsPerMm(1.0);
}

void PreviewPageView::setPageIndex(int index) {
    m_index = index;
    update();
}

void PreviewPageView::setPixelsPerMm(double pixelsPerMm) {
    m_pixelsPerMm = pixelsPerMm;
    setFixedSize(qCeil(m_pageWidth * pixelsPerMm) + 2 * Margin, qCeil(m_pageHeight * pixelsPerMm) + 2 * Margin);
    update();
}

void PreviewPageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(DeskColour));
    const QRectF paper(Margin, Margin, m_pageWidth * m_pixelsPerMm, m_pageHeight * m_pixelsPerMm);
    painter.fillRect(paper.translated(3, 3), QColor(0x4a, 0x4e, 0x52));
    painter.fillRect(paper, Qt::white);
    painter.translate(paper.topLeft());
    m_painter.paint(painter, m_index, m_pixelsPerMm);
}

} // namespace report
