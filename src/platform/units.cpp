// SPDX-License-Identifier: MIT
#include "platform/units.h"

#include "platform/error.h"

#include <QGuiApplication>
#include <QScreen>
#include <cfloat>
#include <cmath>

namespace platform {

namespace {
double logicalDpi(bool horizontal)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}
} // namespace

float twipsPerPixelX() { return float(1440.0 / logicalDpi(true)); }
float twipsPerPixelY() { return float(1440.0 / logicalDpi(false)); }

int twipsToPixelsX(double twips) { return int(std::lround(twips / twipsPerPixelX())); }
int twipsToPixelsY(double twips) { return int(std::lround(twips / twipsPerPixelY())); }

QRect twipsToPixels(int left, int top, int width, int height)
{
    return QRect(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width), twipsToPixelsY(height));
}

QRect twipsToPixels(const QRect &twips)
{
    return twipsToPixels(twips.x(), twips.y(), twips.width(), twips.height());
}

float checkedSingleProduct(double a, double b)
{
    const double product = a * b;
    if (!std::isfinite(product) || std::fabs(product) > double(FLT_MAX))
        raiseError(ErrOverflow);
    return float(product);
}

} // namespace platform
