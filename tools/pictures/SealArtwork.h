#pragma once

#include <QImage>

// The deposit seal of the About window: the stamp of the outside service that keeps deposits of authors'
// works, inviting the user to click and verify this work's deposit.
namespace SealArtwork {

inline constexpr int Width = 147;
inline constexpr int Height = 37;

// The 147 x 37 seal, opaque.
QImage paint();

} // namespace SealArtwork
