// SPDX-License-Identifier: MIT
#include "toolkit/loadedwindows.h"

#include "toolkit/outputwindowwidget.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace toolkit {

namespace {
QList<QPointer<QWidget>> &registry()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
}

void prune()
{
    registry().removeIf([](const QPointer<QWidget> &w) { return w.isNull(); });
}
} // namespace

void registerLoadedWindow(QWidget *window)
{
    prune();
    if (window && !registry().contains(window))
        registry().append(window);
}

QList<QWidget *> loadedWindows()
{
    prune();
    QList<QWidget *> result;
    result.reserve(registry().size());
    for (const auto &w : registry())
        result.append(w.data());
    return result;
}

QWidget *newestOutputWindow()
{
    const QList<QWidget *> windows = loadedWindows();
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        if (qobject_cast<OutputWindowWidget *>(windows[i]))
            return windows[i];
    }
    return nullptr;
}

void unloadWindow(QWidget *window)
{
    if (!window)
        return;
    registry().removeAll(window);
    QPointer<QWidget> guard(window);
    window->close();
    // A widget destroyed with events still queued for it searches the whole
    // queue once per child: delivering the queue first keeps the unload
    // linear. A window that deletes itself on close may be gone after that.
    QCoreApplication::sendPostedEvents();
    delete guard.data();
}

} // namespace toolkit
