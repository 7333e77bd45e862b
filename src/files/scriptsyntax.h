// SPDX-License-Identifier: MIT
#pragma once

#include <QLatin1StringView>
#include <QStringView>

namespace files {

// The shape of a script line as a compile run reads it, shared by the run
// and the editor's colouring so that both read a line alike.

// The text a run replaces with today's date, wherever it stands.
inline constexpr QLatin1StringView kDateMarker("Date$");

// Removes space characters (code 32 only) from both ends: a tab stays part
// of the line's text.
QStringView trimmedSpaces(QStringView text);

// Where a line's parts stand: its text without the spaces around it, and
// its keyword, which runs from the first character to the first space.
struct ScriptLineParts {
    qsizetype start = 0;      // first character after the leading spaces
    qsizetype end = 0;        // one past the last character before the trailing spaces
    qsizetype keywordEnd = 0; // the first space after start, or end
    bool comment = false;     // its first character is ";"

    bool blank() const { return start == end; }
    // A keyword without a space after it has no arguments, which a run refuses.
    bool hasArguments() const { return keywordEnd < end; }
};
ScriptLineParts scriptLineParts(QStringView line);

} // namespace files
