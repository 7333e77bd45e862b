// SPDX-License-Identifier: MIT
#include "interpreter/commandtable.h"

#include "interpreter/commands.h"
#include "toolkit/classids.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace interpreter {

namespace {
using namespace Qt::Literals::StringLiterals;
using enum ArgumentShape;
using enum ContentKind;
using namespace toolkit::classid;

constexpr Command creation(QLatin1StringView keyword, ControlRow control, QLatin1StringView arguments)
{
    return {keyword, commands::createControl, nullptr, control, arguments};
}

// Keywords are compared in this order; a creation command is one row.
constexpr Command kCommands[] = {
    {"CreateWindow"_L1, commands::createWindow, nullptr, {}, "left, top, width, height, -, options, title"_L1},
    //                        class identifier  shape  content element and kind
    creation("CreateButton"_L1, {CommandButton, Sized, 7, Text}, "left, top, width, height, name, -, caption"_L1),
    creation("CreateFrame"_L1, {Frame, Sized, 7, Text}, "left, top, width, height, name, -, caption"_L1),
    creation("CreateTextbox"_L1, {TextBox, Sized, 7, Text}, "left, top, width, height, name, -, text"_L1),
    creation("CreateLabel"_L1, {Label, Sized, 7, Text}, "left, top, width, height, name, -, caption"_L1),
    creation("CreateCheckbox"_L1, {CheckBox, Sized, 7, Text}, "left, top, width, height, name, -, caption"_L1),
    creation("CreateCombobox"_L1, {ComboBox, Unsized, 5, Text, 6}, "left, top, width, name, text, entries"_L1),
    creation("CreateListbox"_L1, {ListBox, Sized, 7, Entries}, "left, top, width, height, name, -, entries"_L1),
    creation("CreateImage"_L1, {Image, Sized, 7, Picture}, "left, top, width, height, name, -, picture"_L1),
    creation("CreateDrivelist"_L1, {DriveListBox, Unsized, 6, Path}, "left, top, width, name, -, path"_L1),
    creation("CreateDirlist"_L1, {DirListBox, Sized, 7, Path}, "left, top, width, height, name, -, folder"_L1),
    creation("CreateFilelist"_L1, {FileListBox, Sized, 7, Path}, "left, top, width, height, name, -, folder"_L1),
    {"Enable"_L1, commands::setFlag, "Enabled", {}, "name, True or False"_L1},
    {"SetVisible"_L1, commands::setFlag, "Visible", {}, "name, True or False"_L1},
    {"SetToolTip"_L1, commands::setText, "ToolTipText", {}, "name, text"_L1},
    {"SetCaption"_L1, commands::setText, "Caption", {}, "name, caption"_L1},
    {"SetText"_L1, commands::setText, "Text", {}, "name, text"_L1},
    {"SetWindowTitle"_L1, commands::setWindowTitle, nullptr, {}, "title"_L1},
};

// Letters inserted, removed or replaced to turn one word into the other.
qsizetype editDistance(const QString &a, const QString &b)
{
    std::vector<qsizetype> row(size_t(b.size()) + 1);
    std::iota(row.begin(), row.end(), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[size_t(j)];
            const qsizetype replaced = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[size_t(j)] = std::min({above + 1, row[size_t(j - 1)] + 1, replaced});
            diagonal = above;
        }
    }
    return row.back();
}
} // namespace

const Command *findCommand(const QString &keyword)
{
    for (const Command &command : kCommands) {
        if (keyword == command.keyword)
            return &command;
    }
    return nullptr;
}

QStringList commandKeywords()
{
    QStringList keywords;
    for (const Command &command : kCommands)
        keywords.append(command.keyword);
    return keywords;
}

QString argumentName(const Command &command, int index)
{
    return QString(command.arguments).split(QStringLiteral(", ")).value(index - 1);
}

int argumentCount(const Command &command)
{
    return int(QString(command.arguments).count(QStringLiteral(", "))) + 1;
}

QString suggestKeyword(const QString &keyword)
{
    constexpr qsizetype kMaxEdits = 2;
    // Far longer or shorter words cannot be near; nor can a whole line.
    constexpr qsizetype kLongestKeyword = 16;
    if (keyword.size() > kLongestKeyword + kMaxEdits)
        return QString();
    const QString lower = keyword.toLower();
    QLatin1StringView best;
    qsizetype bestEdits = kMaxEdits + 1;
    for (const Command &command : kCommands) {
        const qsizetype edits = editDistance(lower, QString(command.keyword).toLower());
        if (edits < bestEdits) {
            best = command.keyword;
            bestEdits = edits;
        }
    }
    return QString(best);
}

} // namespace interpreter
