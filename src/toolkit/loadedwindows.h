// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

class QWidget;

namespace toolkit {

// The toolkit's collection of loaded windows, in the order they were loaded
// (index 0 is the oldest). A window leaves the list when it is unloaded or
// destroyed by any other means.
void registerLoadedWindow(QWidget *window);
QList<QWidget *> loadedWindows();

// The output window loaded last, or null when none is loaded.
QWidget *newestOutputWindow();

// Unloads a window: takes it off the list, closes it and destroys it. Must not
// be called from inside one of that window's own event handlers.
void unloadWindow(QWidget *window);

} // namespace toolkit
