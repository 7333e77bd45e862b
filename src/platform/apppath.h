// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

// The folder that holds the running executable, without a trailing separator
// except at a root.
QString appPath();

// Joins a folder and a file name with the platform's own path rules. Doubled
// separators are left alone, so a network path keeps its leading pair.
QString joinPath(const QString &folder, const QString &fileName);

// The folder of the user documentation (script-reference.md and the rest):
// share/doc/zarvo beside the folder of an installed executable, else the
// source tree's docs folder; empty when neither holds it.
QString docsFolder();

} // namespace platform
