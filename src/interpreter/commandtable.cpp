#include "interpreter/commandtable.h"

#include "interpreter/commands.h"

namespace interpreter {

namespace {
using namespace Qt::Literals::StringLiterals;

constexpr Command kCommands[] = {
    {"CreateWindow"_L1, commands::CreateWindow},
    {"CreateButton"_L1, commands::CreateButton},
    {"CreateFrame"_L1, commands::CreateFrame},
    {"CreateTextbox"_L1, commands::CreateTextbox},
    {"CreateLabel"_L1, commands::CreateLabel},
    {"CreateCheckbox"_L1, commands::CreateCheckbox},
    {"CreateCombobox"_L1, commands::CreateCombobox},
    {"CreateListbox"_L1, commands::CreateListbox},
    {"CreateImage"_L1, commands::CreateImage},
    {"CreateDrivelist"_L1, commands::CreateDrivelist},
    {"CreateDirlist"_L1, commands::CreateDirlist},
    {"CreateFilelist"_L1, commands::CreateFilelist},
    {"Enable"_L1, commands::Enable},
    {"SetVisible"_L1, commands::SetVisible},
    {"SetToolTip"_L1, commands::SetToolTip},
    {"SetCaption"_L1, commands::SetCaption},
    {"SetText"_L1, commands::SetText},
    {"SetWindowTitle"_L1, commands::SetWindowTitle},
};
} // namespace

std::span<const Command> commandTable()
{
    return kCommands;
}

const Command *findCommand(const QString &keyword)
{
    for (const Command &command : kCommands) {
        if (keyword == command.keyword)
            return &command;
    }
    return nullptr;
}

} // namespace interpreter
