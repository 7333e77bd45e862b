// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

// Text as far as it can be seen: longer text is cut and ends in "...". Qt
// measures and lays out the whole of a text it is given to show, which took
// seconds and gigabytes for a text of millions of characters; cutting first
// keeps that cost bounded. Only what is shown is cut: callers keep their own
// value whole.
QString elidedText(const QString &text, qsizetype maxCharacters);

// One line of a status bar: no screen is wider than a few thousand pixels,
// and no legible character is narrower than two.
constexpr qsizetype kMaxLineCharacters = 2000;
// A message box: its text wraps at most 1000 pixels wide, and a screen holds
// fewer than a hundred lines of it.
constexpr qsizetype kMaxBoxCharacters = 20000;

QString visibleLine(const QString &text);
QString visibleBoxText(const QString &text);

// A control's caption as far as a control widthPixels wide can show it on one
// line, with room to spare: no legible character is narrower than a pixel.
QString visibleCaption(const QString &text, int widthPixels);

} // namespace platform
