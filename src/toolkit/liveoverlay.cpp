// SPDX-License-Identifier: MIT
#include "toolkit/liveoverlay.h"

#include <QEvent>
#include <QPainter>

namespace toolkit {

namespace {
constexpr int kStripPaddingPixels = 3;
const QColor kStripBackground(0xa4, 0x1c, 0x1c);
const QColor kStripText(Qt::white);
} // namespace

LiveOverlay::LiveOverlay(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("liveOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(window->rect());
    window->installEventFilter(this);
    show();
}

void LiveOverlay::setStripText(const QString &text)
{
    if (text == m_stripText)
        return;
    const QRect before = stripRect();
    m_stripText = text;
    update(before | stripRect());
}

QRect LiveOverlay::stripRect() const
{
    if (m_stripText.isEmpty())
        return {};
    const int height = fontMetrics().height() + 2 * kStripPaddingPixels;
    return QRect(0, this->height() - height, width(), height);
}

void LiveOverlay::setOutlined(QWidget *control)
{
    if (control == m_outlined)
        return;
    if (m_outlined)
        m_outlined->removeEventFilter(this);
    const QRect before = outlineRect();
    m_outlined = control;
    if (m_outlined)
        m_outlined->installEventFilter(this);
    update(before | outlineRect());
}

QRect LiveOverlay::outlineRect() const
{
    if (!m_outlined || m_outlined->isHidden())
        return {};
    return m_outlined->geometry().adjusted(-kOutlinePixels, -kOutlinePixels, kOutlinePixels, kOutlinePixels);
}

void LiveOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect outline = outlineRect();
    if (!outline.isEmpty()) {
        QPen pen(palette().color(QPalette::Highlight), kOutlinePixels);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const qreal half = kOutlinePixels / 2.0;
        painter.drawRect(QRectF(outline).adjusted(half, half, -half, -half));
    }
    const QRect strip = stripRect();
    if (!strip.isEmpty()) {
        painter.fillRect(strip, kStripBackground);
        painter.setPen(kStripText);
        const QRect textRect = strip.adjusted(2 * kStripPaddingPixels, 0, -2 * kStripPaddingPixels, 0);
        const QString shown = fontMetrics().elidedText(m_stripText, Qt::ElideRight, textRect.width());
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shown);
    }
}

bool LiveOverlay::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == parentWidget() && type == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    } else if (watched == m_outlined && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show
                                         || type == QEvent::Hide)) {
        // The frame's old place is not known any more: the whole overlay.
        update();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace toolkit
