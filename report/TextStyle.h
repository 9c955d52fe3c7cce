#pragma once

#include <QString>

#include <optional>

namespace report {

enum class HorizontalAlign { Left, Center, Right };
enum class VerticalAlign { Top, Middle, Bottom };

// How a text, data field or page number item draws its text inside its box. Colours are 0xAARRGGBB.
struct TextStyle {
    QString fontFamily = QStringLiteral("Liberation Sans");
    double pointSize = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    quint32 color = 0xff000000u;
    std::optional<quint32> background;
    HorizontalAlign align = HorizontalAlign::Left;
    VerticalAlign valign = VerticalAlign::Middle;
    // Wrap breaks long text into lines at word boundaries; elide ends text that does not fit with "…".
    // Both together wrap and elide the last line that fits. Text never spills out of its box.
    bool wrap = false;
    bool elide = false;
    // With wrap: the smallest size in points the font may shrink to, in quarter points, so that the whole text
    // fits its box; 0 keeps the size. Text that does not fit even then is elided (or clipped) as without it.
    double shrinkTo = 0.0;
    // Room in millimetres kept free between the box's left and right edges and the text.
    double padding = 0.0;
};

} // namespace report
