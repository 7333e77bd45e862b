// SPDX-License-Identifier: MIT
#pragma once

#include "cli/commandline.h"

#include <QString>
#include <QtGlobal>

namespace cli {

// Whether no display is named at all (DISPLAY, WAYLAND_DISPLAY and
// QT_QPA_PLATFORM unset), so that no window can be shown.
bool displayMissing();

// The line that says so, and what to do instead, for the mode.
QString noDisplayHint(Mode mode, const char *program);

// Qt has no way but abort() to say that its platform plugin reached no
// display (a DISPLAY naming a server that is gone, a WAYLAND_DISPLAY of a
// compositor that is not there). While one of these lives, around the
// construction of the application, Qt's messages are held back; a fatal one
// ends the program at once with one line naming the display that was tried
// and the status given here. Once destroyed, the held messages go to the
// handler that was installed before.
class DisplayConnectionGuard {
public:
    explicit DisplayConnectionGuard(int unreachableStatus);
    ~DisplayConnectionGuard();
    DisplayConnectionGuard(const DisplayConnectionGuard &) = delete;
    DisplayConnectionGuard &operator=(const DisplayConnectionGuard &) = delete;
};

} // namespace cli
