// SPDX-License-Identifier: MIT
#include "toolkit/designoverlay.h"

#include "toolkit/designsnap.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace toolkit {

namespace {
constexpr int kLargeStepPixels = 8;
const QColor kGuideColour(0xd0, 0x20, 0x8f);

QRect handleRect(const QPoint &centre)
{
    const int half = DesignOverlay::kHandlePixels / 2;
    return QRect(centre.x() - half, centre.y() - half, DesignOverlay::kHandlePixels, DesignOverlay::kHandlePixels);
}

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    return horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}
} // namespace

DesignOverlay::DesignOverlay(QWidget *window, std::function<QList<QWidget *>()> controls,
                             std::function<bool(QWidget *)> widthOnly)
    : QWidget(window), m_controls(std::move(controls)), m_widthOnly(std::move(widthOnly))
{
    setObjectName(QStringLiteral("designOverlay"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setGeometry(window->rect());
    window->installEventFilter(this);
    show();
    raise();
    // The keys of the live window are design mode's now, not a control's.
    setFocus();
}

void DesignOverlay::setSelected(QWidget *control)
{
    if (control == m_selected)
        return;
    keepSelected(control);
    m_drag.reset();
    Q_EMIT selectedChanged(control);
}

void DesignOverlay::keepSelected(QWidget *control)
{
    if (m_selected)
        m_selected->removeEventFilter(this);
    m_selected = control;
    if (m_selected)
        m_selected->installEventFilter(this);
    update();
}

void DesignOverlay::setArmed(bool armed)
{
    m_armed = armed;
    setCursor(armed ? Qt::CrossCursor : Qt::ArrowCursor);
}

QList<std::pair<Qt::Edges, QRect>> DesignOverlay::handles() const
{
    if (!m_selected)
        return {};
    const QRect r = m_selected->geometry();
    const int left = r.x(), right = r.x() + r.width(), top = r.y(), bottom = r.y() + r.height();
    const int middleX = left + r.width() / 2, middleY = top + r.height() / 2;
    QList<std::pair<Qt::Edges, QRect>> all{
        {Qt::LeftEdge, handleRect({left, middleY})}, {Qt::RightEdge, handleRect({right, middleY})}};
    if (m_widthOnly(m_selected))
        return all;
    all += {{Qt::LeftEdge | Qt::TopEdge, handleRect({left, top})},
            {Qt::TopEdge, handleRect({middleX, top})},
            {Qt::RightEdge | Qt::TopEdge, handleRect({right, top})},
            {Qt::LeftEdge | Qt::BottomEdge, handleRect({left, bottom})},
            {Qt::BottomEdge, handleRect({middleX, bottom})},
            {Qt::RightEdge | Qt::BottomEdge, handleRect({right, bottom})}};
    return all;
}

void DesignOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor highlight = palette().color(QPalette::Highlight);
    if (m_selected) {
        painter.setPen(QPen(highlight, 1, Qt::DashLine));
        painter.drawRect(m_selected->geometry().adjusted(-1, -1, 0, 0));
        painter.setPen(palette().color(QPalette::Base));
        for (const auto &handle : handles()) {
            painter.fillRect(handle.second, highlight);
            painter.drawRect(handle.second.adjusted(0, 0, -1, -1));
        }
    }
    painter.setPen(QPen(kGuideColour, 1, Qt::DashLine));
    if (m_guideX)
        painter.drawLine(*m_guideX, 0, *m_guideX, height());
    if (m_guideY)
        painter.drawLine(0, *m_guideY, width(), *m_guideY);
}

QWidget *DesignOverlay::controlAt(const QPoint &point) const
{
    const QList<QWidget *> controls = m_controls();
    for (qsizetype i = controls.size() - 1; i >= 0; --i) {
        if (!controls[i]->isHidden() && controls[i]->geometry().contains(point))
            return controls[i];
    }
    return nullptr;
}

std::optional<Qt::Edges> DesignOverlay::handleAt(const QPoint &point) const
{
    for (const auto &handle : handles()) {
        if (handle.second.adjusted(-2, -2, 2, 2).contains(point))
            return handle.first;
    }
    return std::nullopt;
}

void DesignOverlay::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (m_armed) {
        setArmed(false);
        Q_EMIT placeRequested(point);
        return;
    }
    if (const std::optional<Qt::Edges> edges = handleAt(point)) {
        m_drag = Drag{*edges, point, m_selected->geometry(), snapTargetsBeside(m_selected)};
        return;
    }
    QWidget *control = controlAt(point);
    setSelected(control);
    if (control)
        m_drag = Drag{Qt::Edges(), point, control->geometry(), snapTargetsBeside(control)};
}

void DesignOverlay::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_drag && m_selected)
        dragTo(point, !event->modifiers().testFlag(Qt::AltModifier));
    else
        showCursorFor(point);
}

void DesignOverlay::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_drag)
        return;
    const QRect before = m_drag->startGeometry;
    m_drag.reset();
    m_guideX.reset();
    m_guideY.reset();
    update();
    if (m_selected && m_selected->geometry() != before)
        Q_EMIT geometryEdited(m_selected, m_selected->geometry(), false);
}

// The shown controls other than this one, and the window's own edges and
// middle, to line up with.
QList<QRect> DesignOverlay::snapTargetsBeside(const QWidget *control) const
{
    QList<QRect> others{rect()};
    for (QWidget *other : m_controls()) {
        if (other != control && !other->isHidden())
            others.append(other->geometry());
    }
    return others;
}

// The control follows the mouse: moved, or sized by the edges of the
// handle held, then snapped.
void DesignOverlay::dragTo(const QPoint &point, bool snapping)
{
    const QPoint delta = point - m_drag->start;
    const Qt::Edges edges = m_drag->edges;
    QRect proposed = m_drag->startGeometry;
    if (!edges) {
        proposed.translate(delta);
    } else {
        int left = proposed.x(), top = proposed.y();
        int right = left + proposed.width(), bottom = top + proposed.height();
        left += edges.testFlag(Qt::LeftEdge) ? delta.x() : 0;
        right += edges.testFlag(Qt::RightEdge) ? delta.x() : 0;
        top += edges.testFlag(Qt::TopEdge) ? delta.y() : 0;
        bottom += edges.testFlag(Qt::BottomEdge) ? delta.y() : 0;
        proposed = QRect(left, top, qMax(1, right - left), qMax(1, bottom - top));
    }
    Snapped snapped{proposed, std::nullopt, std::nullopt};
    if (snapping)
        snapped = edges ? snapResize(proposed, edges, m_drag->others) : snapMove(proposed, m_drag->others);
    m_guideX = snapped.guideX;
    m_guideY = snapped.guideY;
    m_selected->setGeometry(snapped.rect);
    update();
}

void DesignOverlay::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        setSelected(nullptr);
        break;
    case Qt::Key_Delete:
        if (m_selected)
            Q_EMIT deleteRequested(m_selected);
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        selectNeighbour(event->key() == Qt::Key_Tab && !event->modifiers().testFlag(Qt::ShiftModifier));
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        moveByKey(event->key(), event->modifiers());
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

// An arrow moves the control by a pixel, or 8 with Shift; with Alt it makes
// the control wider or narrower (left, right), taller or shorter (down, up).
void DesignOverlay::moveByKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!m_selected)
        return;
    const int step = modifiers.testFlag(Qt::ShiftModifier) ? kLargeStepPixels : 1;
    const int dx = key == Qt::Key_Left ? -step : key == Qt::Key_Right ? step : 0;
    const int dy = key == Qt::Key_Up ? -step : key == Qt::Key_Down ? step : 0;
    QRect geometry = m_selected->geometry();
    if (modifiers.testFlag(Qt::AltModifier)) {
        if (dy != 0 && m_widthOnly(m_selected))
            return;
        geometry.setWidth(qMax(1, geometry.width() + dx));
        geometry.setHeight(qMax(1, geometry.height() + dy));
    } else {
        geometry.translate(dx, dy);
    }
    m_selected->setGeometry(geometry);
    update();
    Q_EMIT geometryEdited(m_selected, geometry, true);
}

void DesignOverlay::selectNeighbour(bool next)
{
    QList<QWidget *> shown;
    for (QWidget *control : m_controls()) {
        if (!control->isHidden())
            shown.append(control);
    }
    if (shown.isEmpty())
        return;
    const qsizetype at = shown.indexOf(m_selected);
    const qsizetype count = shown.size();
    const qsizetype to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    setSelected(shown[to]);
}

bool DesignOverlay::focusNextPrevChild(bool)
{
    // Tab and Shift+Tab walk the controls here, not the focus.
    return false;
}

void DesignOverlay::contextMenuEvent(QContextMenuEvent *event)
{
    Q_EMIT menuRequested(event->pos());
}

void DesignOverlay::showCursorFor(const QPoint &point)
{
    if (m_armed)
        setCursor(Qt::CrossCursor);
    else if (const std::optional<Qt::Edges> edges = handleAt(point))
        setCursor(cursorFor(*edges));
    else
        setCursor(controlAt(point) ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

bool DesignOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    else if (watched == m_selected && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        update();
    return QWidget::eventFilter(watched, event);
}

} // namespace toolkit
