// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QRect>
#include <optional>

namespace toolkit {

// Design mode places controls tidily: an edge or a centre that comes within
// kSnapPixels of another control's edge or centre lines up with it, and
// otherwise a moved control's top-left corner lands on a grid of
// kGridPixels.
inline constexpr int kGridPixels = 8;

// The grid line nearest to a coordinate.
int onGrid(int value);
inline constexpr int kSnapPixels = 5;

// Where a moved or resized rectangle lands, and the lines it lines up on.
struct Snapped {
    QRect rect;
    std::optional<int> guideX;
    std::optional<int> guideY;
};

// A rectangle moved to proposed: left, centre and right (top, middle and
// bottom) against the same of the others.
Snapped snapMove(const QRect &proposed, const QList<QRect> &others);

// A rectangle resized to proposed by the edges that move; the others stay.
// Each moving edge snaps on its own; the rectangle keeps at least one pixel.
Snapped snapResize(const QRect &proposed, Qt::Edges moving, const QList<QRect> &others);

} // namespace toolkit
