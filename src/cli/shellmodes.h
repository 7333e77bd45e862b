#pragma once

namespace cli {

struct Invocation;

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
