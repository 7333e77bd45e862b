// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace toolkit {
class OutputDialog;
}

namespace cli {

struct Invocation;

// What answers a --run window in place of its user, once the window is
// shown. Only test programs set one, before start(); the program itself
// never does.
using DialogAnswerer = std::function<void(toolkit::OutputDialog &dialog)>;
void setDialogAnswerer(DialogAnswerer answerer);

// The modes that serve shell scripts and CI jobs. Each runs its scripts as
// COMPILE does, with a first "#!" line skipped and failures reported on
// standard error, and returns the exit status. A QApplication must exist.

// --run: shows the window as a dialog and prints the values it holds.
int runDialog(const Invocation &invocation);
// --check: runs every script and says which succeeded.
int checkScripts(const Invocation &invocation);
// --render: writes a picture of the window the script builds.
int renderScript(const Invocation &invocation);

} // namespace cli
