// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace interpreter {

// One script line after pre-processing: the normalised line (keyword, ", ",
// rest) and the argument list cut from it; element 0 is the keyword.
struct SplitLine {
    QString normalised;
    QStringList elements;
};

// Removes space characters (code 32 only) from both ends.
QString trimSpaces(const QString &text);

// Turns a raw script line into its argument list, or nothing for a line to
// skip (empty, spaces only, or a ";" comment). "Date$" is replaced by
// dateText. Raises 5 for a line without a space.
std::optional<SplitLine> splitScriptLine(const QString &rawLine, const QString &dateText);
// The same with today's date in the user's day/month/year form.
std::optional<SplitLine> splitScriptLine(const QString &rawLine);
// The same for a reader that runs nothing: nothing also for a line a run
// would stop at.
std::optional<SplitLine> splitScriptLineQuietly(const QString &rawLine);

// Drops the first and the last character, whatever they are; text shorter
// than two characters gives empty text.
QString stripQuotes(const QString &text);

// Cuts a list text at every "|"; empty entries are kept, but an empty text
// gives no entries at all.
QStringList splitEntries(const QString &text);
// The same entries handed to take in order, at most sliceSize at a time, so
// that a list of millions is never held whole as separate texts.
void splitEntries(const QString &text, qsizetype sliceSize, const std::function<void(const QStringList &)> &take);

} // namespace interpreter
