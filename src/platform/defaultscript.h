// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

// The script the control panel opens when it is given none.
// - In a portable folder (the build tree, an unpacked archive):
//   GUI_All.txt beside the executable.
// - In an installed program (an installed sample in <executable's
//   folder>/../share/zarvo, or an executable's folder its user cannot write
//   to): GUI_All.txt in the user's application data folder. When it is
//   missing there, it is first copied from the installed sample, together
//   with the sample's picture, so that the sample runs as it does beside the
//   executable.
QString defaultScriptPath();

} // namespace platform
