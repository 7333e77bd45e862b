#pragma once

#include <optional>

namespace platform {

// Whether Caps Lock is on, where the platform can tell (on Linux from the
// keyboard LEDs); nothing where it cannot.
std::optional<bool> capsLockState();

} // namespace platform
