// SPDX-License-Identifier: MIT
#include "panel/livecontroller.h"

#include "editor/scripteditor.h"
#include "files/scriptsyntax.h"
#include "interpreter/linehighlight.h"
#include "interpreter/liverun.h"
#include "panel/designcontroller.h"
#include "panel/editorlines.h"
#include "panel/failureplace.h"
#include "panel/mainwindow.h"
#include "panel/panelsettings.h"
#include "panel/scriptdocument.h"
#include "toolkit/livewindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

namespace panel {

namespace {
const QString kLiveSetting = QStringLiteral("liveWindow");
} // namespace

LiveController::LiveController(MainWindow &window)
    : QObject(&window), m_window(window), m_liveWindow(new toolkit::LiveWindow(this)),
      m_design(new DesignController(window, *m_liveWindow))
{
    m_liveAction = new QAction(QStringLiteral("&Live Window"), this);
    m_liveAction->setObjectName(QStringLiteral("mLIVE"));
    m_liveAction->setShortcut(QKeySequence(Qt::Key_F6));
    m_liveAction->setCheckable(true);
    m_liveAction->setChecked(panelSettings()->value(kLiveSetting, false).toBool());
    connect(m_liveAction, &QAction::toggled, this, &LiveController::setLive);
    m_design->setLiveOn(isLive());

    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleMilliseconds);
    connect(&m_idle, &QTimer::timeout, this, &LiveController::runNow);

    editing::ScriptEditor *editor = window.editor();
    connect(editor, &QPlainTextEdit::textChanged, this, &LiveController::textEdited);
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, &LiveController::followCursor);
    connect(&window.document(), &ScriptDocument::pathChanged, this, &LiveController::scriptChanged);
    connect(m_liveWindow, &toolkit::LiveWindow::lineClicked, this, &LiveController::selectLine);
    connect(m_liveWindow, &toolkit::LiveWindow::closedByUser, m_liveAction, [this] { m_liveAction->setChecked(false); });
}

LiveController::~LiveController() = default;

bool LiveController::isLive() const { return m_liveAction->isChecked(); }

void LiveController::setLive(bool live)
{
    panelSettings()->setValue(kLiveSetting, live);
    m_paused = false;
    m_design->setLiveOn(live);
    if (live) {
        runNow();
        return;
    }
    m_idle.stop();
    m_liveWindow->close();
    clearFailure();
}

void LiveController::textEdited()
{
    if (isLive())
        m_idle.start();
}

// Another file is the script now (Open..., Save As...): its live window is
// a new one, and a script that was too slow to run live gets its own chance.
void LiveController::scriptChanged()
{
    m_liveWindow->close();
    clearFailure();
    if (m_paused && panelSettings()->value(kLiveSetting, false).toBool()) {
        m_paused = false;
        const QSignalBlocker quiet(m_liveAction);
        m_liveAction->setChecked(true);
        m_design->setLiveOn(true);
    }
    if (isLive())
        m_idle.start();
}

void LiveController::runNow()
{
    m_idle.stop();
    if (!isLive())
        return;
    // A modal window (a step pause, a box) or a drag in design mode first.
    if (QApplication::activeModalWidget() || m_design->isDragging()) {
        m_idle.start();
        return;
    }
    QElapsedTimer timer;
    timer.start();
    // A run stops at its first line past the limit: typing waits no longer.
    const interpreter::LiveRunEnd end = interpreter::runLive(
        m_window.editor()->text(), m_window.document().path(), *m_liveWindow, QDeadlineTimer(m_slowRunMilliseconds));
    const qint64 elapsed = timer.elapsed();
    if (end.outOfTime || elapsed > m_slowRunMilliseconds) {
        pause();
        return;
    }
    if (end.failure)
        showFailure(*end.failure);
    else
        clearFailure();
    followCursor();
    m_design->liveWindowShown();
}

void LiveController::showFailure(const interpreter::RunReport &report)
{
    const int line = report.place.lineNumber;
    const bool unknown = !report.unknownKeyword.isEmpty();
    const QString description =
        unknown ? QStringLiteral("Unknown command: ") + report.unknownKeyword : report.description;
    m_liveWindow->setErrorText(line > 0 ? QStringLiteral("Line %1: %2").arg(line).arg(description) : description);
    const QString what = unknown ? QStringLiteral("unknown command: ") + report.unknownKeyword
                                 : QStringLiteral("error %1: %2").arg(report.number).arg(report.description);
    m_window.setStatus((line > 0 ? QStringLiteral("Live: line %1: ").arg(line) : QStringLiteral("Live: ")) + what);
    m_window.setStatusDetail(report.detail);
    m_failureStatus = m_window.statusPanel(1)->text();
    // The report as COMPILE's box would give it, below it where it happened
    // and what the box's text leaves out.
    m_failureToolTip = report.title.isEmpty() ? description
                                              : report.title + u'\n' + report.text + u'\n' + placeText(report.place);
    if (!report.detail.isEmpty())
        m_failureToolTip += u'\n' + report.detail;
    if (line > 0)
        m_window.editor()->setMarker(line, m_failureToolTip);
}

void LiveController::clearFailure()
{
    m_liveWindow->setErrorText(QString());
    editing::ScriptEditor *editor = m_window.editor();
    if (!m_failureToolTip.isEmpty() && editor->markerToolTip() == m_failureToolTip)
        editor->clearMarker();
    if (!m_failureStatus.isEmpty() && m_window.statusPanel(1)->text() == m_failureStatus)
        m_window.setStatus(QString());
    m_failureStatus.clear();
    m_failureToolTip.clear();
}

// A run this slow would stall typing again at every pause: live updates go
// off for this script, without changing what the next start remembers.
void LiveController::pause()
{
    m_paused = true;
    {
        const QSignalBlocker quiet(m_liveAction);
        m_liveAction->setChecked(false);
    }
    m_design->setLiveOn(false);
    m_idle.stop();
    m_liveWindow->close();
    clearFailure();
    m_window.setStatus(QStringLiteral("Live: a run took longer than a second, so live updates are off for this "
                                      "script. Live Window (F6) turns them on again."));
}

void LiveController::followCursor()
{
    if (!m_liveWindow->window())
        return;
    const int line = m_window.editor()->textCursor().blockNumber() + 1;
    const std::optional<files::PlacedLine> placed = interpreter::editorLine(m_window.runHost(), line);
    const QString trimmed = placed ? files::trimmedSpaces(placed->text).toString() : QString();
    m_liveWindow->outline(m_liveWindow->controlAtLine(line, trimmed));
}

// Ctrl+click on the live window: the line that made what was clicked,
// selected from its first to its last non-space character and shown, with
// the panel in front.
void LiveController::selectLine(int line, const QString &lineText)
{
    selectCreationLine(m_window, line, lineText);
    m_window.raise();
    m_window.activateWindow();
    m_window.editor()->setFocus();
}

} // namespace panel
