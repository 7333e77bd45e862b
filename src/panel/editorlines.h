// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace panel {

class MainWindow;

// Selects the editor's line of that number (from 1) from its first to its
// last non-space character and scrolls it into view, when the line, trimmed,
// still is lineText (any text when lineText is empty). The keyboard focus
// stays where it is.
void selectCreationLine(MainWindow &window, int line, const QString &lineText);

} // namespace panel
