#include "toolkit/loadedwindows.h"

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

void unloadWindow(QWidget *window)
{
    if (!window)
        return;
    registry().removeAll(window);
    QPointer<QWidget> guard(window);
    window->close();
    // A widget destroyed with events still queued for it searches the whole
    // queue, so a window with thousands of fresh controls took seconds to go.
    // Delivering the queue first keeps the unload linear.
    // A window that deletes itself on close may be gone after that.
    QCoreApplication::sendPostedEvents();
    delete guard.data();
}

} // namespace toolkit
