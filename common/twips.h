#pragma once

#include "common/numbers.h"

#include <QRect>

// Window and drawing geometry is given in twips: 15 to the pixel.
namespace Twips {

constexpr int kPerPixel = 15;

inline int toPixels(qint64 twips)
{
    return int(Numbers::roundHalfEven(double(twips) / kPerPixel));
}

// A design rectangle (left, top, width, height in twips) on the screen.
inline QRect toPixelRect(qint64 left, qint64 top, qint64 width, qint64 height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

inline qint64 fromPixels(qint64 pixels)
{
    return pixels * kPerPixel;
}

} // namespace Twips
