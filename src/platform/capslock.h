#pragma once

#include <QString>
#include <optional>

namespace platform {

// Whether Caps Lock is on, where the platform can tell (on Linux from the
// keyboard LEDs in ledsFolder); nothing where it cannot.
std::optional<bool> capsLockState(const QString &ledsFolder = QStringLiteral("/sys/class/leds"));

} // namespace platform
