#include "platform/buttonstyle.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <memory>

namespace platform {

namespace {
// The option with another rectangle, keeping its exact type (a push button
// panel reads the button's features from it).
std::unique_ptr<QStyleOption> withRect(const QStyleOption *option, const QRect &rect)
{
    std::unique_ptr<QStyleOption> copy;
    if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option))
        copy = std::make_unique<QStyleOptionButton>(*button);
    else
        copy = std::make_unique<QStyleOption>(*option);
    copy->rect = rect;
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
        QProxyStyle::drawPrimitive(PE_PanelButtonCommand, withRect(option, QRect(0, 0, stripWidth, r.height())).get(),
                                   &stripPainter, widget);
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

} // namespace platform
