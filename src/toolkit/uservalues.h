// SPDX-License-Identifier: MIT
#pragma once

#include "toolkit/controlvalues.h"

#include <optional>

class QWidget;

namespace toolkit {

// The value a control of a kind holds (as controlValues() reads it); nothing
// for a kind that holds none.
std::optional<ControlValue> readControlValue(QWidget *widget, int kind);

// Gives a control of a kind the value another control of that kind held: the
// text of a text box, the mark of a check box, the entry, drive, folder or
// file of that text (or path) selected in a list. A list that has no such
// entry keeps its own selection.
void writeControlValue(QWidget *widget, int kind, const ControlValue &value);

bool sameValue(const ControlValue &a, const ControlValue &b);

} // namespace toolkit
