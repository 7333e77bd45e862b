// SPDX-License-Identifier: MIT
#include "panel/recentscripts.h"

#include <QSettings>
#include <memory>

namespace panel {

namespace {
constexpr qsizetype kMaxRecentScripts = 8;
const QString kKey = QStringLiteral("recentScripts");

// $XDG_CONFIG_HOME/zarvo/zarvo.conf on Linux.
std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zarvo"),
                                       QStringLiteral("zarvo"));
}
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
