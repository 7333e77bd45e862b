// SPDX-License-Identifier: MIT
#include "panel/panelsettings.h"

namespace panel {

std::unique_ptr<QSettings> panelSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zarvo"),
                                       QStringLiteral("zarvo"));
}

} // namespace panel
