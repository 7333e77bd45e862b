// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace interpreter {

// One change of a line's text: length characters from start become text.
struct TextEdit {
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
};

// Left, top, width and height in the pixels a line gives them; a number
// left out stays as the line has it.
using GeometryNumbers = std::array<std::optional<int>, 4>;

// The edits that give a creation line, or a CreateWindow line, new numbers
// for its left, top, width and height: each changes one number where the
// run reads it and nothing else, the edits ordered from the line's end to
// its start and none for a number that stays. A kind without a height
// (combo box, drive list) takes no height. Nothing when the line creates
// nothing, or when a number stands where the run would not read it as it
// stands in the line (a line too short, Date$ among the numbers).
std::optional<QList<TextEdit>> geometryEdits(const QString &line, const GeometryNumbers &numbers);

// A number as a line holds it, read back as the same number: plain digits,
// which every locale reads alike, with a minus sign the locale reads.
QString numberText(int value);

} // namespace interpreter
