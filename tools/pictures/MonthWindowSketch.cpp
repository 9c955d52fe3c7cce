#include "tools/pictures/MonthWindowSketch.h"

#include <QDate>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

namespace MonthWindowSketch {
namespace {

constexpr int ClientWidth = 626;
constexpr int ClientHeight = 607;
constexpr int Border = 4;
constexpr int TitleHeight = 26;
const QColor ButtonFace(240, 240, 240);

QFont tahoma(int pixels, bool bold) {
    // The program is laid out for Tahoma; Liberation Sans has the closest widths and carries Greek.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A rectangle shape: white fill, 1-pixel black outline, inside the given bounds.
void shape(QPainter& p, int left, int top, int width, int height) {
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(left, top, width - 1, height - 1);
}

void label(QPainter& p, const QRect& bounds, const QString& text, const QFont& font, const QColor& colour,
           Qt::Alignment alignment, bool whiteBackground) {
    if (whiteBackground) {
        p.fillRect(bounds, Qt::white);
    }
    p.setFont(font);
    p.setPen(colour);
    p.drawText(bounds, alignment, text);
}

void button(QPainter& p, const QRect& bounds, const QString& text, int underlined = -1) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(bounds.topLeft(), bounds.bottomLeft());
    face.setColorAt(0, QColor(252, 252, 252));
    face.setColorAt(0.5, QColor(236, 236, 236));
    face.setColorAt(1, QColor(214, 214, 214));
    p.setBrush(face);
    p.setPen(QColor(112, 112, 112));
    p.drawRoundedRect(QRectF(bounds).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setFont(tahoma(11, false));
    p.setPen(Qt::black);
    p.drawText(bounds, Qt::AlignCenter, text);
    if (underlined >= 0) {
        const QFontMetrics metrics(p.font());
        const int textLeft = bounds.center().x() - metrics.horizontalAdvance(text) / 2;
        const int x = textLeft + metrics.horizontalAdvance(text.left(underlined));
        const int y = bounds.center().y() + metrics.ascent() / 2 + 2;
        p.setPen(Qt::black);
        p.drawLine(x, y, x + metrics.horizontalAdvance(text.mid(underlined, 1)) - 1, y);
    }
    p.restore();
}

void comboBox(QPainter& p, const QRect& bounds, const QString& text) {
    p.save();
    p.setPen(QColor(122, 122, 122));
    p.setBrush(Qt::white);
    p.drawRect(bounds.adjusted(0, 0, -1, -1));
    const QRect arrowBox(bounds.right() - 17, bounds.top() + 1, 17, bounds.height() - 2);
    QLinearGradient face(arrowBox.topLeft(), arrowBox.bottomLeft());
    face.setColorAt(0, QColor(246, 246, 246));
    face.setColorAt(1, QColor(218, 218, 218));
    p.fillRect(arrowBox, face);
    p.setPen(QColor(160, 160, 160));
    p.drawLine(arrowBox.topLeft(), arrowBox.bottomLeft());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QPointF c = QRectF(arrowBox).center();
    p.drawPolygon(QPolygonF{{c.x() - 4, c.y() - 2}, {c.x() + 4, c.y() - 2}, {c.x(), c.y() + 3}});
    p.setRenderHint(QPainter::Antialiasing, false);
    label(p, bounds.adjusted(4, 0, -20, 0), text, tahoma(24, false), QColor(0, 0, 255),
          Qt::AlignLeft | Qt::AlignVCenter, false);
    p.restore();
}

void frame(QPainter& p, int width, int height) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient glass(0, 0, 0, TitleHeight + Border);
    glass.setColorAt(0, QColor(82, 136, 206));
    glass.setColorAt(0.45, QColor(52, 104, 184));
    glass.setColorAt(1, QColor(38, 86, 164));
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 6, 6);
    p.setPen(QColor(20, 52, 112));
    p.setBrush(glass);
    p.drawPath(outline);
    p.restore();

    // The small calendar-page icon and the caption.
    const QRect icon(Border + 4, 6, 16, 16);
    p.fillRect(icon, Qt::white);
    p.fillRect(icon.x(), icon.y(), 16, 4, QColor(200, 0, 0));
    p.setPen(QColor(40, 40, 40));
    p.drawRect(icon.adjusted(0, 0, -1, -1));
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            p.fillRect(icon.x() + 3 + 4 * j, icon.y() + 6 + 3 * i, 2, 2, QColor(0, 0, 128));
        }
    }
    QFont caption = tahoma(13, true);
    p.setFont(caption);
    p.setPen(QColor(10, 30, 80));
    p.drawText(QRect(Border + 27, 1, width, TitleHeight), Qt::AlignVCenter,
               QStringLiteral("Μηνιαία κατάσταση των ραντεβού"));
    p.setPen(Qt::white);
    p.drawText(QRect(Border + 26, 0, width, TitleHeight), Qt::AlignVCenter,
               QStringLiteral("Μηνιαία κατάσταση των ραντεβού"));

    // The close box, the only button of the title bar.
    const QRect close(width - Border - 44, 3, 40, 19);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient red(close.topLeft(), close.bottomLeft());
    red.setColorAt(0, QColor(230, 120, 100));
    red.setColorAt(1, QColor(190, 50, 30));
    p.setBrush(red);
    p.setPen(QColor(110, 30, 20));
    p.drawRoundedRect(QRectF(close).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    QPen cross(Qt::white, 2.2);
    p.setPen(cross);
    const QPointF c = QRectF(close).center();
    p.drawLine(QPointF(c.x() - 4, c.y() - 4), QPointF(c.x() + 4, c.y() + 4));
    p.drawLine(QPointF(c.x() + 4, c.y() - 4), QPointF(c.x() - 4, c.y() + 4));
    p.restore();
}

} // namespace

QImage paint(int year, int month, int today, const QList<DayCount>& counts) {
    const int width = ClientWidth + 2 * Border;
    const int height = ClientHeight + TitleHeight + 2 * Border;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    frame(p, width, height);
    p.translate(Border, Border + TitleHeight);
    p.fillRect(0, 0, ClientWidth, ClientHeight, ButtonFace);

    // The shapes, in the order the window paints them: band, left line, grid frame, columns, cells.
    shape(p, 32, 24, 561, 65);
    shape(p, 32, 88, 1, 449);
    shape(p, 32, 88, 561, 449);
    for (int c = 0; c < 7; ++c) {
        shape(p, 32 + 80 * c, 88, 81, 449);
    }
    const int rowTops[] = {88, 152, 215, 278, 341, 404};
    for (int c = 0; c < 7; ++c) {
        for (int top : rowTops) {
            shape(p, 32 + 80 * c, top, 81, 65);
        }
    }

    const QColor blue(0, 0, 255);
    label(p, QRect(49, 37, 58, 29), QStringLiteral("Έτος:"), tahoma(24, false), blue, Qt::AlignLeft, true);
    comboBox(p, QRect(113, 34, 112, 37), QString::number(year));
    button(p, QRect(235, 40, 75, 25), QStringLiteral("Σήμερα"));
    label(p, QRect(319, 37, 75, 29), QStringLiteral("Μήνας:"), tahoma(24, false), blue, Qt::AlignLeft, true);
    static const QStringList months = {
        QStringLiteral("Ιανουάριος"), QStringLiteral("Φεβρουάριος"), QStringLiteral("Μάρτιος"),
        QStringLiteral("Απρίλιος"),   QStringLiteral("Μάιος"),       QStringLiteral("Ιούνιος"),
        QStringLiteral("Ιούλιος"),    QStringLiteral("Αύγουστος"),   QStringLiteral("Σεπτέμβριος"),
        QStringLiteral("Οκτώβριος"),  QStringLiteral("Νοέμβριος"),   QStringLiteral("Δεκέμβριος")};
    comboBox(p, QRect(400, 34, 176, 37), months.value(month - 1));

    struct Header {
        const char16_t* text;
        int left;
        int width;
    };
    const Header headers[] = {{u"Δευτέρα", 45, 54}, {u"Τρίτη", 133, 33},     {u"Τετάρτη", 205, 52},
                              {u"Πέμπτη", 288, 48}, {u"Παρασκευή", 356, 74}, {u"Σάββατο", 445, 55},
                              {u"Κυριακή", 525, 51}};
    for (int i = 0; i < 7; ++i) {
        const QColor colour = i < 5 ? QColor(0, 128, 0) : QColor(0, 255, 0);
        label(p, QRect(headers[i].left, 112, headers[i].width + 4, 16), QString::fromUtf16(headers[i].text),
              tahoma(13, true), colour, Qt::AlignLeft | Qt::AlignVCenter, true);
    }

    // Day d stands in cell first + d - 1, seven cells to a row, Monday first.
    const QDate first(year, month, 1);
    const int firstCell = first.dayOfWeek();
    const int dayTops[] = {159, 223, 286, 349, 412, 475};
    const int countTops[] = {175, 238, 302, 364, 428, 494};
    for (int day = 1; day <= first.daysInMonth(); ++day) {
        const int cell = firstCell + day - 1;
        const int column = (cell - 1) % 7;
        const int row = (cell - 1) / 7;
        const int left = 39 + 80 * column;
        QColor colour = column >= 5 ? QColor(128, 128, 128) : QColor(0, 0, 0);
        if (day == today) {
            colour = QColor(0, 128, 0);
        }
        label(p, QRect(left, dayTops[row], 67, 14), QString::number(day), tahoma(12, true), colour, Qt::AlignCenter,
              true);
        QString count;
        for (const DayCount& entry : counts) {
            if (entry.day == day && entry.count > 0) {
                count = QString::number(entry.count);
            }
        }
        label(p, QRect(left, countTops[row], 67, 30), count, tahoma(29, true), QColor(255, 0, 0), Qt::AlignCenter,
              true);
    }

    button(p, QRect(31, 560, 75, 25), QStringLiteral("About"));
    button(p, QRect(519, 560, 75, 25), QStringLiteral("Έξοδος"), 1);
    p.end();
    return image;
}

} // namespace MonthWindowSketch
