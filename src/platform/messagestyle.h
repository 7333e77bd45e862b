// SPDX-License-Identifier: MIT
#pragma once

namespace platform {

// Message box styles the program uses: the icon a box shows.
enum MessageStyle : int { MsgCritical = 16, MsgInformation = 64 };

} // namespace platform
