// SPDX-License-Identifier: MIT
#pragma once

#include "files/textlines.h"

#include <QString>
#include <optional>

namespace editing {
class ScriptEditor;
}

namespace panel {

// The editor's line of that number (from 1) as a run reads it: a byte order
// mark the editor kept from the file is no part of line 1.
std::optional<files::PlacedLine> runLine(const editing::ScriptEditor &editor, int line);

// The same line when its text, trimmed of spaces, is lineText (any text
// when lineText is empty); nothing otherwise.
std::optional<files::PlacedLine> lineHolding(const editing::ScriptEditor &editor, int line, const QString &lineText);

} // namespace panel
