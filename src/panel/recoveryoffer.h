// SPDX-License-Identifier: MIT
#pragma once

namespace panel {

class MainWindow;

// When an interrupted save left a recovery copy of the current script that
// the file does not hold, says so in the status line and, once the event loop
// runs (the panel is on screen by then at start-up), asks whether to restore
// it into the editor or discard it.
void offerRecoveryCopy(MainWindow &window);

} // namespace panel
