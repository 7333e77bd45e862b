#include "interpreter/commandtable.h"

#include "interpreter/commands.h"

namespace interpreter {

namespace {
using namespace Qt::Literals::StringLiterals;
using enum ArgumentShape;
using enum ContentKind;

// Keywords are compared in this order; a creation command is one row.
constexpr Command kCommands[] = {
    {"CreateWindow"_L1, commands::createWindow},
    //                                                    content      class identifier    shape  element kind
    {"CreateButton"_L1, commands::createControl, "Caption", {"VB.CommandButton", Sized, 7, Text}},
    {"CreateFrame"_L1, commands::createControl, "Caption", {"VB.Frame", Sized, 7, Text}},
    {"CreateTextbox"_L1, commands::createControl, "Text", {"VB.TextBox", Sized, 7, Text}},
    {"CreateLabel"_L1, commands::createControl, "Caption", {"VB.Label", Sized, 7, Text}},
    {"CreateCheckbox"_L1, commands::createControl, "Caption", {"VB.CheckBox", Sized, 7, Text}},
    {"CreateCombobox"_L1, commands::createControl, "Text", {"VB.ComboBox", Unsized, 5, Text, 6}},
    {"CreateListbox"_L1, commands::createControl, nullptr, {"VB.ListBox", Sized, 7, Entries}},
    {"CreateImage"_L1, commands::createControl, "Picture", {"VB.Image", Sized, 7, Picture}},
    {"CreateDrivelist"_L1, commands::createControl, "Drive", {"VB.DriveListBox", Unsized, 6, Path}},
    {"CreateDirlist"_L1, commands::createControl, "Path", {"VB.DirListBox", Sized, 7, Path}},
    {"CreateFilelist"_L1, commands::createControl, "Path", {"VB.FileListBox", Sized, 7, Path}},
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
