// SPDX-License-Identifier: MIT
#pragma once

#include <QSettings>
#include <memory>

namespace panel {

// The control panel's settings: $XDG_CONFIG_HOME/zarvo/zarvo.conf on Linux,
// whatever the application's name.
std::unique_ptr<QSettings> panelSettings();

} // namespace panel
