// SPDX-License-Identifier: MIT
#pragma once

#include "files/textlines.h"
#include "interpreter/linegeometry.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;

namespace toolkit {
class LiveWindow;
}

namespace panel {

class MainWindow;

// Design Mode (mDESIGN, F9), open while Live Window is on: the live
// window's controls are placed with the mouse or the keys, and the numbers
// of their lines follow in the editor, each drag or run of keys one edit
// (one undo step) that is saved as any edit. Add Control places a new
// control's line; Delete takes a control's line away.
class DesignController : public QObject {
    Q_OBJECT
public:
    // Key presses on one control less than this apart are one undo step.
    static constexpr qint64 kKeyRunMilliseconds = 1000;

    DesignController(MainWindow &window, toolkit::LiveWindow &live);

    QAction *designAction() const { return m_designAction; }
    // The kinds of control design mode adds (mADDCONTROL).
    QMenu *addControlMenu() const { return m_kindsMenu; }

    // Design mode is open only while Live Window is on.
    void setLiveOn(bool on);
    bool isDragging() const;
    // After each live run: a new live window gets design mode too.
    void liveWindowShown();

private:
    void setDesignMode(bool on);
    void selectLineOf(QWidget *control);
    void rewriteGeometry(QWidget *control, const QRect &geometry, bool byKey);
    void rewriteWindowSize(const QSize &outerSize);
    void deleteLineOf(QWidget *control);
    void placeControl(int kind, const QPoint &at);
    void chooseKindAt(const QPoint &at);
    bool editLine(int line, const QStringList &lineTexts, const interpreter::GeometryNumbers &numbers, bool join);
    std::optional<files::PlacedLine> holdingAny(int line, const QStringList &lineTexts) const;
    QStringList linesOf(QWidget *control) const;
    QString unusedName(int kind) const;
    int lineAfterControls() const;
    void refuse(int line);

    MainWindow &m_window;
    toolkit::LiveWindow &m_live;
    QAction *m_designAction = nullptr;
    QMenu *m_kindsMenu = nullptr;
    int m_armedKind = -1;
    // The last key edit: its control, when it was made and the document's
    // revision after it, so that the next key can join its undo step.
    QString m_keyRunControl; // its name
    // The line design mode last rewrote, as it left it, and whose it is.
    struct LastEdit {
        QString name;
        int line = 0;
        QString text;
    };
    LastEdit m_lastEdit;
    QElapsedTimer m_keyRunClock;
    int m_keyRunRevision = -1;
};

} // namespace panel
