// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

namespace platform {

// Twips per pixel of the primary screen: 1440 / logical DPI (15 at 96 DPI).
float twipsPerPixelX();
float twipsPerPixelY();

// Twips (1/1440 inch) to device-independent pixels and back, rounded to the
// nearest pixel, for placing the children of twip-measured containers.
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
// A rectangle given in twips (left, top, width, height) as pixels.
QRect twipsToPixels(int left, int top, int width, int height);
QRect twipsToPixels(const QRect &twips);

// Multiplies in single precision and raises 6 (overflow) when the product
// leaves the single-precision range or is not a number.
float checkedSingleProduct(double a, double b);

} // namespace platform
