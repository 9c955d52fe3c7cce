#pragma once

#include "report/TextStyle.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <optional>

namespace report {

enum class ItemKind { Text, Field, PageNumber, Line, Rectangle, Image };
enum class LineStyle { Solid, Dash, Dot };
enum class ImageFit { KeepAspect, Stretch };

// One thing drawn on the sheet. Coordinates are millimetres from the top left corner of the item's band;
// the layout step moves them to page coordinates. A line runs from (x, y) to (x2, y2); every other kind
// fills the box (x, y, width, height).
struct ReportItem {
    ItemKind kind = ItemKind::Text;
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;

    // Text, data field, page number.
    TextStyle style;
    // The literal text of a text item; the template of a page number ({page}, {pages}).
    QString text;
    // Data field: the data connection and column it shows, and the optional format of dates and times.
    QString connection;
    QString column;
    QString format;

    // Line and rectangle: stroke width in millimetres (0: no outline) and colours (0xAARRGGBB).
    double stroke = 0.2;
    quint32 strokeColor = 0xff000000u;
    std::optional<quint32> fill;
    LineStyle lineStyle = LineStyle::Solid;

    // Image: the encoded picture (PNG or JPEG), embedded or read from a file when the definition loads,
    // and that file (empty when embedded). Items showing the same picture share one copy of the bytes.
    QByteArray imageData;
    QString imageFile;
    ImageFit fit = ImageFit::KeepAspect;

    // Where the item stands in the definition file, for error messages.
    int sourceLine = 0;
    int sourceColumn = 0;

    double left() const { return kind == ItemKind::Line ? std::min(x, x2) : x; }
    double top() const { return kind == ItemKind::Line ? std::min(y, y2) : y; }
    double right() const { return kind == ItemKind::Line ? std::max(x, x2) : x + width; }
    double bottom() const { return kind == ItemKind::Line ? std::max(y, y2) : y + height; }
};

} // namespace report
