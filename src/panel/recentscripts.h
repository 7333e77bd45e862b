// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace panel {

// The scripts opened or saved last, newest first and at most eight, kept in
// the user's settings from one start to the next.
QStringList recentScripts();
// Puts path first in the list.
void rememberScript(const QString &path);
void forgetRecentScripts();

} // namespace panel
