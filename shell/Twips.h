#pragma once

#include <cmath>

// Layouts and stored window positions are in twips; at 96 dpi a pixel is 15
// twips. Qt scales the pixels on high-resolution screens.
inline constexpr double TwipsPerPixel = 15.0;

inline int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

inline double pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}
