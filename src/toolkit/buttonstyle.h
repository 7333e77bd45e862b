// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

namespace toolkit {

// The application style for script push buttons, with one change: a large
// panel is drawn at a cost that follows the button's height, not its area.
//
// Fusion draws a push button's panel into a picture of the whole button and
// caches it; a picture over the cache's 10 MB limit is never kept, so a
// 5792 x 5792 button filled 128 MB again at every paint (0.85 s), however
// little of it was on screen. Here a large panel is drawn by the base style
// as a narrow strip of the same height, and the strip's middle column, the
// same all across the middle of a panel, is stretched to the width.
class ButtonPanelStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Panels up to this many pixels are drawn by the base style itself.
    static constexpr qint64 kMaxDirectPanelPixels = 256 * 1024;
    // Columns kept from each side of the strip: corners and borders.
    static constexpr int kEdgePixels = 16;

    // base null: a fresh instance of the application's style.
    explicit ButtonPanelStyle(QStyle *base = nullptr);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    void drawStretchedPanel(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
};

// The one instance every script push button uses, made on first use and
// owned by the application.
QStyle *buttonPanelStyle();

} // namespace toolkit
