// SPDX-License-Identifier: MIT
#pragma once

#include "interpreter/arguments.h"

#include <QLatin1StringView>
#include <QStringList>

namespace interpreter {

struct RunState;
struct Command;

using CommandFunction = void (*)(RunState &run, const ArgumentList &args, const Command &command);

// Where a creation command finds its arguments. Sized: left, top, width,
// height, name (element 5), an unread sixth element, content (element 7).
// Unsized: left, top, width and the name in element 4; the control keeps the
// height its font needs.
enum class ArgumentShape { Sized, Unsized };

// How a creation command's content element becomes the control's content;
// each passes the element through stripQuotes first.
enum class ContentKind {
    Text,    // the text itself
    Path,    // a path, taken from the script's folder when relative
    Picture, // the picture loaded from such a path
    Entries, // list entries cut at every "|", appended in order
};

// What a creation command makes: the control's class identifier, where its
// arguments stand and how its content is set.
struct ControlRow {
    const char *classId = nullptr;
    ArgumentShape shape = ArgumentShape::Sized;
    int contentElement = 0;
    ContentKind content = ContentKind::Text;
    // A combo box also takes entries, after it is shown, and then selects the
    // first one; 0 for the other kinds.
    int entriesElement = 0;
};

// The element that names the control a creation command makes.
constexpr int nameElementOf(const ControlRow &row)
{
    return row.shape == ArgumentShape::Sized ? 5 : 4;
}

// One row of the keyword table: the keyword, the function that runs it and
// the data that function needs.
struct Command {
    QLatin1StringView keyword;
    CommandFunction run;
    // The property a state command sets; a creation command fills the
    // content property of its control's kind.
    const char *property = nullptr;
    ControlRow control = {};
    // The names of its arguments, element 1 first, separated by ", ", as the
    // script reference's synopsis gives them ("-" for one that is not read).
    // Failure reports name an argument and count them by this list.
    QLatin1StringView arguments;
};

// The first command whose keyword equals the text exactly; null when none.
const Command *findCommand(const QString &keyword);

// Whether the command reads a file its content element names (a picture, a
// folder or file list's path).
inline bool readsFile(const Command &command)
{
    return command.control.content == ContentKind::Picture || command.control.content == ContentKind::Path;
}

// Every keyword of the table, in its order.
QStringList commandKeywords();

// The name of a command's argument (element index, from 1), empty past its last.
QString argumentName(const Command &command, int index);
// How many arguments a command reads.
int argumentCount(const Command &command);

// The keyword a mistyped one most likely meant: the one that differs only in
// letter case, else the nearest within two edits (letters inserted, removed
// or replaced, letter case ignored), the first in table order on a tie.
// Empty when none is that near.
QString suggestKeyword(const QString &keyword);

} // namespace interpreter
