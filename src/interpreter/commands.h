// SPDX-License-Identifier: MIT
#pragma once

#include "interpreter/arguments.h"

namespace toolkit {
class OutputWindow;
}

namespace interpreter {

struct Command;
struct RunState;

// The functions behind the keyword table. Each reads its elements as its
// steps come, so a short line fails after the earlier steps took effect.
namespace commands {
void createWindow(RunState &run, const ArgumentList &args, const Command &command);
void setWindowTitle(RunState &run, const ArgumentList &args, const Command &command);

// Every creation command: adds, places and fills the control its row names.
void createControl(RunState &run, const ArgumentList &args, const Command &command);

// Enable and SetVisible: the row's property is true when element 2 is "True".
void setFlag(RunState &run, const ArgumentList &args, const Command &command);
// SetToolTip, SetCaption and SetText: the row's property from element 2.
void setText(RunState &run, const ArgumentList &args, const Command &command);
} // namespace commands

// A path of the script, taken from the folder of the script file at
// scriptPath when it is relative; an empty or absolute path stays as it is.
QString scriptRelativePath(const QString &scriptPath, const QString &path);

// Applies a "|"-separated window option list; "$10" removes the border.
void applyWindowOptions(toolkit::OutputWindow &window, const QString &options);

} // namespace interpreter
