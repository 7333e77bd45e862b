// SPDX-License-Identifier: MIT
#pragma once

#include "files/textlines.h"

#include <QString>
#include <optional>

namespace interpreter {

class RunHost;

// A span of the editor text, in positions of its CR LF form.
struct EditorSpan {
    int start = 0;
    int length = 0;
};

// The editor line with a 1-based line number, without its line break;
// nothing when the editor has fewer lines.
std::optional<files::PlacedLine> editorLine(const RunHost &host, int lineNumber);

// The editor line with that number when it holds the same text as the file's
// line (both trimmed of spaces); nothing when it differs or is missing.
std::optional<files::PlacedLine> matchingEditorLine(const RunHost &host, int lineNumber, const QString &fileLine);

// The span from a line's first to its last non-space character.
EditorSpan trimmedSpan(const files::PlacedLine &line);

// What a step selects before the line runs: the editor line with the file
// line's number when it holds the same text, as its trimmed span; otherwise
// the first exact occurrence of the keyword at or after searchFrom, up to the
// last non-space character of the editor line it stands in. Nothing when the
// keyword is not there either.
std::optional<EditorSpan> stepSelection(const RunHost &host, int lineNumber, const QString &fileLine,
                                        const QString &keyword, int searchFrom);

} // namespace interpreter
