// Twips, the unit of every window layout: 1440 per inch, so 15 twips make one pixel at 96 dpi.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace ordevo::ui {

inline constexpr int kTwipsPerPixel = 15;  // at 96 dpi
inline constexpr double kTwipsPerMillimetre = 1440.0 / 25.4;

// Nearest whole pixel. 15 is odd, so a whole number of twips never falls on a half pixel
// and the rounding has no ties to break; negative positions round the same way.
constexpr int TwipsToPixels(int twips) {
    const int doubled = 2 * twips + kTwipsPerPixel;  // (twips + 7.5) * 2
    const int divisor = 2 * kTwipsPerPixel;
    return doubled >= 0 ? doubled / divisor : -((-doubled + divisor - 1) / divisor);
}

constexpr double TwipsToPixelsF(double twips) { return twips / kTwipsPerPixel; }

constexpr QPoint TwipsToPixels(QPoint twips) {
    return {TwipsToPixels(twips.x()), TwipsToPixels(twips.y())};
}

constexpr QSize TwipsToPixels(QSize twips) {
    return {TwipsToPixels(twips.width()), TwipsToPixels(twips.height())};
}

// Left, top, width and height are converted each on its own, as the layout tables give them.
constexpr QRect TwipsRectToPixels(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

}  // namespace ordevo::ui
