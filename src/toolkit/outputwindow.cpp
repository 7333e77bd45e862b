// SPDX-License-Identifier: MIT
#include "toolkit/outputwindow.h"

#include "platform/error.h"
#include "toolkit/loadedwindows.h"
#include "toolkit/outputwindowwidget.h"

#include <QCoreApplication>

namespace toolkit {

namespace {
constexpr qsizetype kMaxControlNameLength = 40;
// A run does not return to the event loop, so the events each new control
// posts (layout and update requests, for it and its window) pile up, and Qt
// compares every new one with the whole queue. Delivering the queue every so
// many controls keeps it short.
constexpr qsizetype kPostedEventsEveryControls = 100;

bool isAcceptableName(const QString &name)
{
    if (name.isEmpty() || name.size() > kMaxControlNameLength)
        return false;
    auto asciiLetter = [](QChar c) {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
    };
    if (!asciiLetter(name[0]))
        return false;
    for (QChar c : name) {
        if (!asciiLetter(c) && !(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char('_'))
            return false;
    }
    return true;
}
} // namespace

OutputWindow::OutputWindow() = default;
OutputWindow::~OutputWindow() = default;

OutputWindowWidget &OutputWindow::loaded()
{
    load();
    return *m_window;
}

void OutputWindow::load()
{
    if (m_window)
        return;
    m_window = new OutputWindowWidget;
    registerLoadedWindow(m_window);
}

void OutputWindow::unload()
{
    if (m_window)
        unloadWindow(m_window);
    m_window = nullptr;
}

void OutputWindow::attach(OutputWindowWidget *window)
{
    m_window = window;
}

OutputWindowWidget *OutputWindow::detach()
{
    OutputWindowWidget *window = m_window;
    m_window = nullptr;
    return window;
}

void OutputWindow::setLeft(float twips)
{
    OutputWindowWidget &w = loaded();
    w.setOuterGeometry(twips, w.topTwips(), w.widthTwips(), w.heightTwips(), true);
}

void OutputWindow::setTop(float twips)
{
    OutputWindowWidget &w = loaded();
    w.setOuterGeometry(w.leftTwips(), twips, w.widthTwips(), w.heightTwips(), true);
}

void OutputWindow::setWidth(float twips)
{
    OutputWindowWidget &w = loaded();
    w.setOuterGeometry(w.leftTwips(), w.topTwips(), twips, w.heightTwips(), false);
}

void OutputWindow::setHeight(float twips)
{
    OutputWindowWidget &w = loaded();
    w.setOuterGeometry(w.leftTwips(), w.topTwips(), w.widthTwips(), twips, false);
}

void OutputWindow::setCaption(const QString &caption)
{
    loaded().setTitle(caption);
}

void OutputWindow::setBorderStyle(int style)
{
    // Changing the flags of a shown window hides it; show() brings it back.
    loaded().setWindowFlag(Qt::FramelessWindowHint, style == 0);
}

void OutputWindow::show()
{
    OutputWindowWidget &w = loaded();
    w.showTitle();
    w.show();
    w.reapplyGeometry();
}

void OutputWindow::showKeptChanges()
{
    if (m_window)
        m_window->showTitle();
}

Control OutputWindow::addControl(const QString &classId, const QString &name)
{
    OutputWindowWidget &w = loaded();
    if (!isAcceptableName(name))
        platform::raiseError(platform::ErrInvalidArgument);
    const QString key = controlNameKey(name);
    if (w.findControlByKey(key).widget)
        platform::raiseControlError(platform::ErrDuplicateControl, name);
    w.budget().chargeControl();
    if (w.controlCount() % kPostedEventsEveryControls == 0)
        QCoreApplication::sendPostedEvents();
    if (const auto kept = w.takeKeptControl(key, controlKindOf(classId))) {
        w.budget().chargeBytes(kept->chargedBytes);
        w.registerControlByKey(key, *kept);
        return Control::kept(kept->widget, kept->kind);
    }
    OutputWindowWidget::ControlEntry entry;
    QWidget *control = createControlWidget(classId, &w, entry.kind);
    control->setObjectName(name);
    entry.widget = control;
    w.registerControlByKey(key, entry);
    return Control(control, entry.kind);
}

Control OutputWindow::control(const QString &name) const
{
    const OutputWindowWidget::ControlEntry found = m_window ? m_window->findControl(name) : OutputWindowWidget::ControlEntry{};
    if (!found.widget)
        platform::raiseControlError(platform::ErrControlNotFound, name);
    return found.kept ? Control::kept(found.widget, found.kind) : Control(found.widget, found.kind);
}

QList<UnlabelledControl> OutputWindow::nameControls()
{
    return m_window ? toolkit::nameControls(m_window) : QList<UnlabelledControl>();
}

} // namespace toolkit
