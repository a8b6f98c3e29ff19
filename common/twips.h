#pragma once

#include "numbers.h"

// Window and drawing geometry is given in twips: 15 to the pixel.
namespace Twips {

constexpr int kPerPixel = 15;

inline int toPixels(qint64 twips)
{
    return int(Numbers::roundHalfEven(double(twips) / kPerPixel));
}

inline qint64 fromPixels(qint64 pixels)
{
    return pixels * kPerPixel;
}

} // namespace Twips
