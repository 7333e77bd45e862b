// SPDX-License-Identifier: MIT
#include "panel/recentscripts.h"

#include "panel/panelsettings.h"

namespace panel {

namespace {
constexpr qsizetype kMaxRecentScripts = 8;
const QString kKey = QStringLiteral("recentScripts");

std::unique_ptr<QSettings> settings() { return panelSettings(); }
} // namespace

QStringList recentScripts()
{
    return settings()->value(kKey).toStringList().mid(0, kMaxRecentScripts);
}

void rememberScript(const QString &path)
{
    QStringList paths = recentScripts();
    paths.removeAll(path);
    paths.prepend(path);
    settings()->setValue(kKey, paths.mid(0, kMaxRecentScripts));
}

void forgetRecentScripts() { settings()->remove(kKey); }

} // namespace panel
