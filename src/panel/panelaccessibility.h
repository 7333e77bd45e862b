// SPDX-License-Identifier: MIT
#pragma once

namespace panel {

class MainWindow;

// Gives the control panel's parts the names a screen reader says: the
// editor, its gutter, COMPILE and STEP COMPILE, the find bar's close button
// and the status bar. The status panels keep their text as their name, so
// that Qt announces each new text; their description says which panel each
// is. Called once the panel's widgets are built.
void nameControlPanel(MainWindow &window);

} // namespace panel
