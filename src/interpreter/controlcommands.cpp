#include "interpreter/commands.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"

#include <QDir>
#include <QFileInfo>

namespace interpreter {

namespace {
using platform::Control;

// Relative paths in a script are taken from the script file's folder.
QString scriptRelativePath(const RunState &run, const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QDir(QFileInfo(run.path).absolutePath()).filePath(path);
}

// Steps 1 to 3 of every creation command: read the name, add the control,
// then set Left, Top, Width and (when the kind takes one) Height one at a time.
Control addPlacedControl(RunState &run, const ArgumentList &args, const char *classId, int nameIndex,
                         bool withHeight)
{
    const QString &name = args.at(nameIndex);
    Control control = run.window().addControl(QLatin1String(classId), name);
    control.setProperty(QStringLiteral("Left"), args.at(1));
    control.setProperty(QStringLiteral("Top"), args.at(2));
    control.setProperty(QStringLiteral("Width"), args.at(3));
    if (withHeight)
        control.setProperty(QStringLiteral("Height"), args.at(4));
    return control;
}

// Entries go to the control in slices: a list past the run's memory budget is
// refused by the control before the whole list has been cut into entries.
constexpr qsizetype kEntriesPerSlice = 65536;

void addEntries(Control &control, const QString &list)
{
    splitEntries(list, kEntriesPerSlice, [&](const QStringList &slice) { control.addItems(slice); });
}

// The shape shared by the commands with a height: left, top, width, height,
// name, an unread sixth element, and one content element passed through
// StripQuotes into a property.
void createWithContent(RunState &run, const ArgumentList &args, const char *classId, const char *property)
{
    Control control = addPlacedControl(run, args, classId, 5, true);
    control.setProperty(QLatin1String(property), StripQuotes(args.at(7)));
    control.setProperty(QStringLiteral("Visible"), true);
}

void createWithPath(RunState &run, const ArgumentList &args, const char *classId)
{
    Control control = addPlacedControl(run, args, classId, 5, true);
    control.setProperty(QStringLiteral("Path"), scriptRelativePath(run, StripQuotes(args.at(7))));
    control.setProperty(QStringLiteral("Visible"), true);
}
} // namespace

namespace commands {

void CreateButton(RunState &run, const ArgumentList &args)
{
    createWithContent(run, args, "VB.CommandButton", "Caption");
}

void CreateFrame(RunState &run, const ArgumentList &args)
{
    createWithContent(run, args, "VB.Frame", "Caption");
}

void CreateTextbox(RunState &run, const ArgumentList &args)
{
    createWithContent(run, args, "VB.TextBox", "Text");
}

void CreateLabel(RunState &run, const ArgumentList &args)
{
    createWithContent(run, args, "VB.Label", "Caption");
}

void CreateCheckbox(RunState &run, const ArgumentList &args)
{
    createWithContent(run, args, "VB.CheckBox", "Caption");
}

void CreateListbox(RunState &run, const ArgumentList &args)
{
    Control control = addPlacedControl(run, args, "VB.ListBox", 5, true);
    addEntries(control, StripQuotes(args.at(7)));
    control.setProperty(QStringLiteral("Visible"), true);
}

void CreateImage(RunState &run, const ArgumentList &args)
{
    Control control = addPlacedControl(run, args, "VB.Image", 5, true);
    control.setProperty(QStringLiteral("Picture"),
                        platform::loadPicture(scriptRelativePath(run, StripQuotes(args.at(7)))));
    control.setProperty(QStringLiteral("Visible"), true);
}

void CreateDirlist(RunState &run, const ArgumentList &args)
{
    createWithPath(run, args, "VB.DirListBox");
}

void CreateFilelist(RunState &run, const ArgumentList &args)
{
    createWithPath(run, args, "VB.FileListBox");
}

void CreateCombobox(RunState &run, const ArgumentList &args)
{
    Control control = addPlacedControl(run, args, "VB.ComboBox", 4, false);
    control.setProperty(QStringLiteral("Text"), StripQuotes(args.at(5)));
    control.setProperty(QStringLiteral("Visible"), true);
    addEntries(control, StripQuotes(args.at(6)));
    control.setProperty(QStringLiteral("ListIndex"), 0);
}

void CreateDrivelist(RunState &run, const ArgumentList &args)
{
    Control control = addPlacedControl(run, args, "VB.DriveListBox", 4, false);
    control.setProperty(QStringLiteral("Drive"), scriptRelativePath(run, StripQuotes(args.at(6))));
    control.setProperty(QStringLiteral("Visible"), true);
}

} // namespace commands
} // namespace interpreter
