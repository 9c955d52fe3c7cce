#include "report/PagePainter.h"

#include "report/ReportError.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QDir>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QTextLayout>

namespace report {

namespace {

// Drawing units per millimetre.
constexpr double Unit = 100.0;
constexpr double PointsPerMm = 72.0 / 25.4;

QRectF boxOf(const ReportItem& item) {
    return {item.x * Unit, item.y * Unit, item.width * Unit, item.height * Unit};
}

QColor colourOf(quint32 argb) {
    return QColor::fromRgba(argb);
}

QFont fontOf(const TextStyle& style) {
    QFont font(style.fontFamily);
    // Pixel sizes are in drawing units here; the painter's scale takes them to the device.
    font.setPixelSize(std::max(1, qRound(style.pointSize / PointsPerMm * Unit)));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

Qt::Alignment horizontalOf(HorizontalAlign align) {
    switch (align) {
    case HorizontalAlign::Center:
        return Qt::AlignHCenter;
    case HorizontalAlign::Right:
        return Qt::AlignRight;
    case HorizontalAlign::Left:
        break;
    }
    return Qt::AlignLeft;
}

// The lines of text laid out to the box's width, as many as fit its height. With elide on, the last line
// shown takes all the text that is left, cut to the width with "…". `whole` tells whether all of it fitted.
QStringList breakLines(const QString& text, const QFont& font, const TextStyle& style, double width, double height,
                       bool& whole) {
    whole = true;
    const QFontMetricsF metrics(font);
    QString source = text;
    source.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    source.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!style.wrap) {
        // One line: line breaks in the value become spaces.
        source.replace(QLatin1Char('\n'), QLatin1Char(' '));
        whole = metrics.horizontalAdvance(source) <= width;
        return {style.elide ? metrics.elidedText(source, Qt::ElideRight, width) : source};
    }
    const double lineHeight = metrics.lineSpacing();
    const qsizetype maxLines = std::max(1, static_cast<int>((height + 0.01 * lineHeight) / lineHeight));
    QStringList lines;
    qsizetype lastStart = 0;
    qsizetype offset = 0;
    for (const QString& paragraph : source.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (lines.size() == maxLines) {
                layout.endLayout();
                whole = false;
                if (style.elide) {
                    QString rest = source.mid(lastStart);
                    rest.replace(QLatin1Char('\n'), QLatin1Char(' '));
                    lines.last() = metrics.elidedText(rest, Qt::ElideRight, width);
                }
                return lines;
            }
            lastStart = offset + line.textStart();
            lines.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
        }
        layout.endLayout();
        offset += paragraph.size() + 1;
    }
    return lines;
}

} // namespace

PagePainter::PagePainter(const LaidOutReport& report, DecodedPictures* known) : m_report(report) {
    qint64 pixels = 0;
    for (const LaidOutPage& page : report.pages)
        for (const PlacedItem& placed : page.items) {
            const ReportItem& item = placed.item;
            if (item.kind != ItemKind::Image)
                continue;
            const char* key = item.imageData.constData();
            if (m_images.contains(key))
                continue;
            const QString picture =
                QCoreApplication::translate("report", "The picture of the image at line %1, column %2 of the report \"%3\"%4")
                    .arg(item.sourceLine)
                    .arg(item.sourceColumn)
                    .arg(report.name, item.imageFile.isEmpty()
                                          ? QString()
                                          : QStringLiteral(" (\"%1\")").arg(QDir::toNativeSeparators(item.imageFile)));

            const std::optional<DecodedPictures::Picture> decoded =
                known ? known->find(key) : std::optional<DecodedPictures::Picture>();
            QBuffer bytes;
            QImageReader reader;
            if (!decoded) {
                bytes.setData(item.imageData);
                bytes.open(QIODevice::ReadOnly);
                reader.setDevice(&bytes);
                // What passes the pixel budget below must not be refused by the reader's own, smaller limit.
                reader.setAllocationLimit(static_cast<int>(MaxPicturePixels * 8 / (1024 * 1024)) + 1);
                if (!reader.canRead())
                    throw ReportError(picture + QStringLiteral(" is neither a PNG nor a JPEG picture."));
            }
            const QSize size = decoded ? decoded->declaredSize : reader.size();
            if (!size.isValid())
                throw ReportError(picture + QStringLiteral(" cannot be decoded: its size cannot be read."));
            const qint64 own = qint64(size.width()) * size.height();
            pixels += own;
            if (own > MaxPicturePixels)
                throw ReportError(picture + QStringLiteral(" is %1 x %2 pixels, more than the %3 million pixels a "
                                                           "report's pictures may have.")
                                                .arg(size.width())
                                                .arg(size.height())
                                                .arg(MaxPicturePixels / 1'000'000));
            if (pixels > MaxPicturePixels)
                throw ReportError(picture + QStringLiteral(" is %1 x %2 pixels; with the report's other pictures "
                                                           "that makes more than the %3 million pixels a "
                                                           "report's pictures may have.")
                                                .arg(size.width())
                                                .arg(size.height())
                                                .arg(MaxPicturePixels / 1'000'000));
            if (decoded) {
                m_images.insert(key, decoded->image);
                continue;
            }
            QImage image = reader.read();
            if (image.isNull())
                throw ReportError(picture + QStringLiteral(" cannot be decoded (%1 x %2 pixels): %3.")
                                                .arg(size.width())
                                                .arg(size.height())
                                                .arg(reader.errorString()));
            if (known)
                known->insert(key, {image, size});
            m_images.insert(key, image);
        }
}

void PagePainter::paint(QPainter& painter, int index, double devicePixelsPerMm) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(devicePixelsPerMm / Unit, devicePixelsPerMm / Unit);
    for (const PlacedItem& placed : m_report.pages.at(index).items)
        paintItem(painter, placed);
    painter.restore();
}

void PagePainter::paintItem(QPainter& painter, const PlacedItem& placed) const {
    const ReportItem& item = placed.item;
    switch (item.kind) {
    case ItemKind::Text:
    case ItemKind::Field:
    case ItemKind::PageNumber:
        paintText(painter, placed);
        return;
    case ItemKind::Line: {
        if (item.stroke <= 0.0)
            return;
        QPen pen(colourOf(item.strokeColor), item.stroke * Unit);
        pen.setCapStyle(Qt::FlatCap);
        pen.setStyle(item.lineStyle == LineStyle::Dash  ? Qt::DashLine
                     : item.lineStyle == LineStyle::Dot ? Qt::DotLine
                                                        : Qt::SolidLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(item.x * Unit, item.y * Unit), QPointF(item.x2 * Unit, item.y2 * Unit));
        return;
    }
    case ItemKind::Rectangle: {
        const QRectF box = boxOf(item);
        if (item.fill)
            painter.fillRect(box, colourOf(*item.fill));
        if (item.stroke > 0.0) {
            QPen pen(colourOf(item.strokeColor), item.stroke * Unit);
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box);
        }
        return;
    }
    case ItemKind::Image: {
        const QImage& image = m_images[item.imageData.constData()];
        QRectF box = boxOf(item);
        if (item.fit == ImageFit::KeepAspect && image.width() > 0 && image.height() > 0) {
            const QSizeF size = QSizeF(image.size()).scaled(box.size(), Qt::KeepAspectRatio);
            box = QRectF(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2, size.width(),
                         size.height());
        }
        painter.drawImage(box, image);
        return;
    }
    }
}

void PagePainter::paintText(QPainter& painter, const PlacedItem& placed) const {
    const ReportItem& item = placed.item;
    const TextStyle& style = item.style;
    const QRectF box = boxOf(item);
    if (style.background)
        painter.fillRect(box, colourOf(*style.background));
    if (placed.text.isEmpty())
        return;

    const QRectF inner = box.adjusted(style.padding * Unit, 0, -style.padding * Unit, 0);
    if (inner.width() <= 0)
        return;
    QFont font = fontOf(style);
    bool whole = true;
    QStringList lines = breakLines(placed.text, font, style, inner.width(), inner.height(), whole);
    // A long text may take a smaller face, a quarter point at a time, rather than lose words.
    if (!whole && style.wrap && style.shrinkTo > 0) {
        TextStyle smaller = style;
        for (smaller.pointSize -= 0.25; !whole && smaller.pointSize >= style.shrinkTo - 1e-9; smaller.pointSize -= 0.25) {
            font = fontOf(smaller);
            lines = breakLines(placed.text, font, smaller, inner.width(), inner.height(), whole);
        }
    }
    const QFontMetricsF metrics(font);
    const double lineHeight = metrics.lineSpacing();
    const double blockHeight = lineHeight * static_cast<double>(lines.size()) - metrics.leading();
    double top = inner.top();
    if (style.valign == VerticalAlign::Middle)
        top = inner.top() + (inner.height() - blockHeight) / 2;
    else if (style.valign == VerticalAlign::Bottom)
        top = inner.bottom() - blockHeight;

    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(colourOf(style.color));
    for (const QString& line : lines) {
        const QRectF lineBox(inner.left(), top, inner.width(), lineHeight);
        painter.drawText(lineBox, static_cast<int>(horizontalOf(style.align) | Qt::AlignTop | Qt::TextSingleLine),
                         line);
        top += lineHeight;
    }
    painter.restore();
}

} // namespace report
