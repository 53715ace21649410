#pragma once

#include <QRect>
#include <QtMath>

namespace platform::qt {

// The window's layout is given in twips; at 15 twips to a pixel it is laid out in Qt's
// device-independent pixels, so high-DPI screens scale it whole.
constexpr int TwipsPerPixel = 15;

inline int pixels(int twips) { return qRound(twips / double(TwipsPerPixel)); }
inline int twips(int pixels) { return pixels * TwipsPerPixel; }
inline QRect pixelRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

} // namespace platform::qt
