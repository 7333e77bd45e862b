// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QWidget;

namespace cli {

// Reads the command line, starts the mode it asks for and returns the exit
// status: the control panel, or one of the shell modes. panelShown, when
// given, is called with the control panel once it is shown, before the event
// loop starts (the start-up benchmark ends the program there once idle).
int start(int argc, char *argv[], const std::function<void(QWidget &)> &panelShown = {});

} // namespace cli
