#pragma once

#include <QImage>

// The product's title picture: the maker's name, "Orvella" in large letters and a view of the month window.
// The splash window shows it at 960 x 720 and the About window squeezed to 264 x 246, so nothing in it relies
// on fine detail alone.
namespace TitleArtwork {

inline constexpr int Width = 1024;
inline constexpr int Height = 768;

// The 1024 x 768 title picture, opaque.
QImage paint();

} // namespace TitleArtwork
