// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QList>
#include <QRect>
#include <QWidget>
#include <functional>
#include <optional>

namespace toolkit {

// Design mode over the live window: it covers the window above its
// controls, which then take no input of their own, and turns the mouse and
// the keys into placing them. A click selects a control (a frame with
// handles); dragging it moves it, dragging a handle resizes it, snapping to
// the grid and to the other controls unless Alt is held; the arrow keys move
// it by 1 pixel (Shift: 8), with Alt they size it; Tab and Shift+Tab walk
// the controls in the script's order, Escape lets go, Delete asks for its
// removal. The widget itself moves as the mouse does; what the script
// should say is signalled when a drag ends and after each key.
class DesignOverlay : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHandlePixels = 7;

    // controls: the window's controls in the script's order. widthOnly: the
    // controls whose height the script does not set.
    DesignOverlay(QWidget *window, std::function<QList<QWidget *>()> controls,
                  std::function<bool(QWidget *)> widthOnly);

    QWidget *selected() const { return m_selected; }
    // Selects a control as a click does, telling selectedChanged.
    void setSelected(QWidget *control);
    // The selection moves to the control that replaced the selected one,
    // without telling anyone: it is still the same control of the script.
    void keepSelected(QWidget *control);
    bool isDragging() const { return m_drag.has_value(); }
    // While armed, a click places a new control instead of selecting one.
    void setArmed(bool armed);
    bool isArmed() const { return m_armed; }

    // The handles of the selected control: the edges each one moves and where
    // it is drawn.
    QList<std::pair<Qt::Edges, QRect>> handles() const;

Q_SIGNALS:
    void selectedChanged(QWidget *control);
    // A control was moved or sized to geometry: by a drag that ended, or by a
    // key (byKey).
    void geometryEdited(QWidget *control, const QRect &geometry, bool byKey);
    void deleteRequested(QWidget *control);
    void placeRequested(const QPoint &point);
    void menuRequested(const QPoint &point);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Drag {
        Qt::Edges edges; // none: a move
        QPoint start;
        QRect startGeometry;
        // What the control snaps to, taken once: nothing else moves during
        // a drag.
        QList<QRect> others;
    };

    QList<QRect> snapTargetsBeside(const QWidget *control) const;
    QWidget *controlAt(const QPoint &point) const;
    std::optional<Qt::Edges> handleAt(const QPoint &point) const;
    void dragTo(const QPoint &point, bool snapping);
    void moveByKey(int key, Qt::KeyboardModifiers modifiers);
    void selectNeighbour(bool next);
    void showCursorFor(const QPoint &point);

    std::function<QList<QWidget *>()> m_controls;
    std::function<bool(QWidget *)> m_widthOnly;
    QPointer<QWidget> m_selected;
    std::optional<Drag> m_drag;
    std::optional<int> m_guideX;
    std::optional<int> m_guideY;
    bool m_armed = false;
};

} // namespace toolkit
