#pragma once

#include <QImage>

// The application icon: a calendar page with a red header, two binder rings and a grid of days, today's in
// red. Drawn pixel by pixel in the classic 16-colour palette.
namespace IconArtwork {

// The icon at 16 or 32 pixels, as Format_Indexed8 with a colour table of 16 entries (one of them fully
// transparent, for the corners).
QImage paint(int size);

} // namespace IconArtwork
