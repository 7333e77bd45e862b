#pragma once

#include <QString>

namespace panel {

class MainWindow;

// Replaces the editor content with the whole file and reports in the status
// line. A missing file leaves the editor as it was.
void LoadSource(MainWindow &window, const QString &path);

} // namespace panel
