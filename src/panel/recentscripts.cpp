// SPDX-License-Identifier: MIT
#include "panel/recentscripts.h"

#include "panel/panelsettings.h"

namespace panel {

namespace {
constexpr qsizetype kMaxRecentScripts = 8;
const QString kKey = QStringLiteral("recentScripts");
} // namespace

QStringList recentScripts()
{
    return panelSettings()->value(kKey).toStringList().mid(0, kMaxRecentScripts);
}

void rememberScript(const QString &path)
{
    QStringList paths = recentScripts();
    paths.removeAll(path);
    paths.prepend(path);
    panelSettings()->setValue(kKey, paths.mid(0, kMaxRecentScripts));
}

void forgetRecentScripts() { panelSettings()->remove(kKey); }

} // namespace panel
