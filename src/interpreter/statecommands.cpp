#include "interpreter/commands.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"

namespace interpreter {

namespace {
// The lookup comes before element 2 is read, so a missing control is
// reported as such even on a short line.
void setFlag(RunState &run, const ArgumentList &args, const char *property)
{
    platform::Control control = run.window().control(args.at(1));
    control.setProperty(QLatin1String(property), args.at(2) == QLatin1String("True"));
}

void setText(RunState &run, const ArgumentList &args, const char *property)
{
    platform::Control control = run.window().control(args.at(1));
    control.setProperty(QLatin1String(property), StripQuotes(args.at(2)));
}
} // namespace

namespace commands {

void Enable(RunState &run, const ArgumentList &args) { setFlag(run, args, "Enabled"); }
void SetVisible(RunState &run, const ArgumentList &args) { setFlag(run, args, "Visible"); }
void SetToolTip(RunState &run, const ArgumentList &args) { setText(run, args, "ToolTipText"); }
void SetCaption(RunState &run, const ArgumentList &args) { setText(run, args, "Caption"); }
void SetText(RunState &run, const ArgumentList &args) { setText(run, args, "Text"); }

} // namespace commands
} // namespace interpreter
