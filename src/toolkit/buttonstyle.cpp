// SPDX-License-Identifier: MIT
#include "toolkit/buttonstyle.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionButton>

namespace toolkit {

namespace {
// A copy of an option with another rectangle. Copied by value as its own
// type: a push button panel reads the button's features from it, and style
// options have no virtual destructor to be held through their base.
template <typename Option>
Option withRect(const Option &option, const QRect &rect)
{
    Option copy(option);
    copy.rect = rect;
    return copy;
}
} // namespace

ButtonPanelStyle::ButtonPanelStyle(QStyle *base)
    : QProxyStyle(base ? base : QStyleFactory::create(QApplication::style()->name()))
{
}

void ButtonPanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const
{
    const QRect &r = option->rect;
    const bool large = qint64(r.width()) * r.height() > kMaxDirectPanelPixels && r.width() > 2 * kEdgePixels + 1;
    if (element == PE_PanelButtonCommand && large)
        drawStretchedPanel(option, painter, widget);
    else
        QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ButtonPanelStyle::drawStretchedPanel(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const QRect &r = option->rect;
    const int stripWidth = 2 * kEdgePixels + 1;
    const qreal ratio = painter->device()->devicePixelRatio();
    QImage strip(QSize(stripWidth, r.height()) * ratio, QImage::Format_ARGB32_Premultiplied);
    strip.setDevicePixelRatio(ratio);
    strip.fill(Qt::transparent);
    {
        QPainter stripPainter(&strip);
        const auto drawStrip = [&](const QStyleOption &narrow) {
            QProxyStyle::drawPrimitive(PE_PanelButtonCommand, &narrow, &stripPainter, widget);
        };
        const QRect stripRect(0, 0, stripWidth, r.height());
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option))
            drawStrip(withRect(*button, stripRect));
        else
            drawStrip(withRect(*option, stripRect));
    }
    // Source rectangles count the strip's own pixels; targets count the
    // painter's. The middle column is stretched without smoothing, so every
    // stretched pixel keeps its colour exactly.
    const auto source = [&](int x, int width) { return QRectF(x * ratio, 0, width * ratio, r.height() * ratio); };
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(QRectF(r.x(), r.y(), kEdgePixels, r.height()), strip, source(0, kEdgePixels));
    painter->drawImage(QRectF(r.x() + kEdgePixels, r.y(), r.width() - 2 * kEdgePixels, r.height()), strip,
                       source(kEdgePixels, 1));
    painter->drawImage(QRectF(r.right() + 1 - kEdgePixels, r.y(), kEdgePixels, r.height()), strip,
                       source(kEdgePixels + 1, kEdgePixels));
    painter->restore();
}

QStyle *buttonPanelStyle()
{
    static QPointer<ButtonPanelStyle> style;
    if (!style) {
        style = new ButtonPanelStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace toolkit
