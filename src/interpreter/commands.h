#pragma once

#include "interpreter/arguments.h"

namespace platform {
class OutputWindow;
}

namespace interpreter {

struct RunState;

// One function per script command; each reads its elements as its steps
// come, so a short line fails after the earlier steps took effect.
namespace commands {
void CreateWindow(RunState &run, const ArgumentList &args);

void CreateButton(RunState &run, const ArgumentList &args);
void CreateFrame(RunState &run, const ArgumentList &args);
void CreateTextbox(RunState &run, const ArgumentList &args);
void CreateLabel(RunState &run, const ArgumentList &args);
void CreateCheckbox(RunState &run, const ArgumentList &args);
void CreateCombobox(RunState &run, const ArgumentList &args);
void CreateListbox(RunState &run, const ArgumentList &args);
void CreateImage(RunState &run, const ArgumentList &args);
void CreateDrivelist(RunState &run, const ArgumentList &args);
void CreateDirlist(RunState &run, const ArgumentList &args);
void CreateFilelist(RunState &run, const ArgumentList &args);

void Enable(RunState &run, const ArgumentList &args);
void SetVisible(RunState &run, const ArgumentList &args);
void SetToolTip(RunState &run, const ArgumentList &args);
void SetCaption(RunState &run, const ArgumentList &args);
void SetText(RunState &run, const ArgumentList &args);
void SetWindowTitle(RunState &run, const ArgumentList &args);
} // namespace commands

// Applies a "|"-separated window option list; "$10" removes the border.
void ApplyWindowOptions(platform::OutputWindow &window, const QString &options);

} // namespace interpreter
