// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QAction;

namespace interpreter {
struct RunReport;
}
namespace toolkit {
class LiveWindow;
}

namespace panel {

class DesignController;
class MainWindow;

// Live Window (mLIVE, F6): while it is checked, the script in the editor
// runs into the live window at once and again whenever the editor has been
// idle for a moment after an edit. A failed live run shows no box and moves
// no selection or focus: the live window keeps the last good run with the
// report in a strip, the failing line gets the gutter mark, the status line
// says what failed. Ctrl+click on the live window selects the line that made
// what was clicked; the cursor on a creation line frames its control.
class LiveController : public QObject {
    Q_OBJECT
public:
    // How long the editor must be idle after an edit before a live run.
    static constexpr int kIdleMilliseconds = 150;
    // A live run longer than this turns live updates off for the script; it
    // stops at the first line that starts later.
    static constexpr qint64 kSlowRunMilliseconds = 1000;

    explicit LiveController(MainWindow &window);
    ~LiveController() override;

    // The checkable Live Window action, checked as the user left it.
    QAction *liveAction() const { return m_liveAction; }
    toolkit::LiveWindow &liveWindow() const { return *m_liveWindow; }
    DesignController &design() const { return *m_design; }
    bool isLive() const;

    // A live run of the editor's text now, the idle time over. Waits while
    // a modal window (a step pause, a box) is up.
    void runNow();
    // How long a live run may take (kSlowRunMilliseconds unless changed).
    void setSlowRunLimit(qint64 milliseconds) { m_slowRunMilliseconds = milliseconds; }

private:
    void setLive(bool live);
    void textEdited();
    void scriptChanged();
    void followCursor();
    void showFailure(const interpreter::RunReport &report);
    void clearFailure();
    void pause();
    void selectLine(int line, const QString &lineText);

    MainWindow &m_window;
    QAction *m_liveAction = nullptr;
    toolkit::LiveWindow *m_liveWindow = nullptr;
    DesignController *m_design = nullptr;
    QTimer m_idle;
    // The status text and gutter tool tip of the failed live run shown, so
    // that a later success takes away its own and nothing else.
    QString m_failureStatus;
    QString m_failureToolTip;
    // Turned off by a slow run: on again for the next script loaded.
    bool m_paused = false;
    qint64 m_slowRunMilliseconds = kSlowRunMilliseconds;
};

} // namespace panel
