// SPDX-License-Identifier: MIT
#include "interpreter/commands.h"
#include "interpreter/commandtable.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"
#include "platform/filenames.h"

#include <QDir>

namespace interpreter {

namespace {
using toolkit::Control;

// Steps 1 and 2 of every creation command: read the name, add the control.
Control addControl(RunState &run, const ArgumentList &args, const ControlRow &row)
{
    const QString &name = args.at(nameElementOf(row));
    Control control = run.window().addControl(QLatin1String(row.classId), name);
    run.controlLines.insert(name, run.lineNumber);
    run.host.controlCreated(name, run.lineNumber);
    return control;
}

// Step 3: set Left, Top, Width and (when the shape has one) Height one at a
// time.
void place(Control &control, const ArgumentList &args, const ControlRow &row)
{
    control.setProperty(QStringLiteral("Left"), args.at(1));
    control.setProperty(QStringLiteral("Top"), args.at(2));
    control.setProperty(QStringLiteral("Width"), args.at(3));
    if (row.shape == ArgumentShape::Sized)
        control.setProperty(QStringLiteral("Height"), args.at(4));
}

// Entries go to the control in slices: a list past the run's memory budget is
// refused by the control before the whole list has been cut into entries.
constexpr qsizetype kEntriesPerSlice = 65536;

void addEntries(Control &control, const QString &list)
{
    splitEntries(list, kEntriesPerSlice, [&](const QStringList &slice) { control.addItems(slice); });
}

void setContent(RunState &run, Control &control, const ArgumentList &args, const ControlRow &row)
{
    const QString text = stripQuotes(args.at(row.contentElement));
    switch (row.content) {
    case ContentKind::Text:
        control.setContent(text);
        break;
    case ContentKind::Path:
        control.setContent(scriptRelativePath(run.path, text));
        break;
    case ContentKind::Picture:
        control.setContent(toolkit::loadPicture(scriptRelativePath(run.path, text)));
        break;
    case ContentKind::Entries:
        addEntries(control, text);
        break;
    }
}
} // namespace

QString scriptRelativePath(const QString &scriptPath, const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    const QString script = platform::absoluteFileName(scriptPath);
    return script.left(script.lastIndexOf(QLatin1Char('/')) + 1) + path;
}

namespace commands {

void createControl(RunState &run, const ArgumentList &args, const Command &command)
{
    const ControlRow &row = command.control;
    Control control = addControl(run, args, row);
    // A control a live run keeps is what this line made of it last time; its
    // picture is not even loaded again.
    if (control.isKept())
        return;
    place(control, args, row);
    setContent(run, control, args, row);
    control.setProperty(QStringLiteral("Visible"), true);
    if (row.entriesElement > 0) {
        addEntries(control, stripQuotes(args.at(row.entriesElement)));
        control.setProperty(QStringLiteral("ListIndex"), 0);
    }
}

} // namespace commands
} // namespace interpreter
