// SPDX-License-Identifier: MIT
#include "interpreter/commands.h"
#include "interpreter/commandtable.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"

namespace interpreter::commands {

// The lookup comes before element 2 is read, so a missing control is
// reported as such even on a short line.
void setFlag(RunState &run, const ArgumentList &args, const Command &command)
{
    toolkit::Control control = run.window().control(args.at(1));
    control.setProperty(QLatin1String(command.property), args.at(2) == QLatin1String("True"));
}

void setText(RunState &run, const ArgumentList &args, const Command &command)
{
    toolkit::Control control = run.window().control(args.at(1));
    control.setProperty(QLatin1String(command.property), stripQuotes(args.at(2)));
}

} // namespace interpreter::commands
