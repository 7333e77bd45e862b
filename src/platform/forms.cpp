#include "platform/forms.h"

#include <QPointer>
#include <QWidget>

namespace platform {

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
    window->close();
    delete window;
}

} // namespace platform
