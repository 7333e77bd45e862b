#include "interpreter/commandtable.h"

#include "interpreter/commands.h"
#include "toolkit/classids.h"

namespace interpreter {

namespace {
using namespace Qt::Literals::StringLiterals;
using enum ArgumentShape;
using enum ContentKind;
using namespace toolkit::classid;

constexpr Command creation(QLatin1StringView keyword, ControlRow control)
{
    return {keyword, commands::createControl, nullptr, control};
}

// Keywords are compared in this order; a creation command is one row.
constexpr Command kCommands[] = {
    {"CreateWindow"_L1, commands::createWindow},
    //                        class identifier  shape  content element and kind
    creation("CreateButton"_L1, {CommandButton, Sized, 7, Text}),
    creation("CreateFrame"_L1, {Frame, Sized, 7, Text}),
    creation("CreateTextbox"_L1, {TextBox, Sized, 7, Text}),
    creation("CreateLabel"_L1, {Label, Sized, 7, Text}),
    creation("CreateCheckbox"_L1, {CheckBox, Sized, 7, Text}),
    creation("CreateCombobox"_L1, {ComboBox, Unsized, 5, Text, 6}),
    creation("CreateListbox"_L1, {ListBox, Sized, 7, Entries}),
    creation("CreateImage"_L1, {Image, Sized, 7, Picture}),
    creation("CreateDrivelist"_L1, {DriveListBox, Unsized, 6, Path}),
    creation("CreateDirlist"_L1, {DirListBox, Sized, 7, Path}),
    creation("CreateFilelist"_L1, {FileListBox, Sized, 7, Path}),
    {"Enable"_L1, commands::setFlag, "Enabled"},
    {"SetVisible"_L1, commands::setFlag, "Visible"},
    {"SetToolTip"_L1, commands::setText, "ToolTipText"},
    {"SetCaption"_L1, commands::setText, "Caption"},
    {"SetText"_L1, commands::setText, "Text"},
    {"SetWindowTitle"_L1, commands::setWindowTitle},
};
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

} // namespace interpreter
