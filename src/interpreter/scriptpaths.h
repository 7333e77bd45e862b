// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace interpreter {

// The paths relative to the script's own folder that the lines of a script
// name, each once, in the order of the lines: the pictures of CreateImage
// and the paths of CreateDrivelist, CreateDirlist and CreateFilelist. Lines
// a run would stop at are passed by.
QStringList relativePathsNamed(const QString &script);

} // namespace interpreter
