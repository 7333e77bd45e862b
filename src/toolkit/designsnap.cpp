// SPDX-License-Identifier: MIT
#include "toolkit/designsnap.h"

#include <cmath>
#include <cstdlib>

namespace toolkit {

namespace {
// How far to shift points along one axis, and the line they then meet.
struct AxisSnap {
    int shift = 0;
    std::optional<int> guide;
};

// The points of a rectangle along one axis: its start, middle and end (one
// past its last pixel, where the next rectangle would start).
QList<int> pointsOf(int start, int length)
{
    return {start, start + length / 2, start + length};
}

QList<int> targetsOf(const QList<QRect> &others, bool horizontal)
{
    QList<int> targets;
    for (const QRect &r : others)
        targets += horizontal ? pointsOf(r.x(), r.width()) : pointsOf(r.y(), r.height());
    return targets;
}

// The nearest target within reach of any of the points; otherwise the first
// point onto the grid.
AxisSnap snapAxis(const QList<int> &points, const QList<int> &targets)
{
    AxisSnap best;
    int bestDistance = kSnapPixels + 1;
    for (int point : points) {
        for (int target : targets) {
            if (std::abs(target - point) < bestDistance) {
                bestDistance = std::abs(target - point);
                best = AxisSnap{target - point, target};
            }
        }
    }
    if (best.guide)
        return best;
    return AxisSnap{onGrid(points.first()) - points.first(), std::nullopt};
}
} // namespace

int onGrid(int value) { return int(std::lround(double(value) / kGridPixels)) * kGridPixels; }

Snapped snapMove(const QRect &proposed, const QList<QRect> &others)
{
    const AxisSnap x = snapAxis(pointsOf(proposed.x(), proposed.width()), targetsOf(others, true));
    const AxisSnap y = snapAxis(pointsOf(proposed.y(), proposed.height()), targetsOf(others, false));
    return Snapped{proposed.translated(x.shift, y.shift), x.guide, y.guide};
}

Snapped snapResize(const QRect &proposed, Qt::Edges moving, const QList<QRect> &others)
{
    Snapped snapped{proposed, std::nullopt, std::nullopt};
    int left = proposed.x(), top = proposed.y();
    int right = proposed.x() + proposed.width(), bottom = proposed.y() + proposed.height();
    const auto snapEdge = [&](int &edge, bool horizontal, std::optional<int> &guide) {
        const AxisSnap snap = snapAxis({edge}, targetsOf(others, horizontal));
        edge += snap.shift;
        guide = snap.guide;
    };
    if (moving.testFlag(Qt::LeftEdge))
        snapEdge(left, true, snapped.guideX);
    if (moving.testFlag(Qt::RightEdge))
        snapEdge(right, true, snapped.guideX);
    if (moving.testFlag(Qt::TopEdge))
        snapEdge(top, false, snapped.guideY);
    if (moving.testFlag(Qt::BottomEdge))
        snapEdge(bottom, false, snapped.guideY);
    if (moving.testFlag(Qt::LeftEdge))
        left = qMin(left, right - 1);
    else
        right = qMax(right, left + 1);
    if (moving.testFlag(Qt::TopEdge))
        top = qMin(top, bottom - 1);
    else
        bottom = qMax(bottom, top + 1);
    snapped.rect = QRect(left, top, right - left, bottom - top);
    return snapped;
}

} // namespace toolkit
