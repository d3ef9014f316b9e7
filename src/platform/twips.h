#pragma once

#include <QRect>

namespace tallivo {

// Positions and sizes are designed in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;

// Returns twips in whole pixels, rounded to the nearest.
constexpr int TwipsToPixels(int twips) {
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// Returns the rectangle (left, top, width, height) given in twips, in pixels.
constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

} // namespace tallivo
