// SPDX-License-Identifier: MIT
#pragma once

#include "interpreter/arguments.h"
#include "interpreter/runhost.h"
#include "toolkit/outputwindow.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QString>

namespace interpreter {

// Everything one compile run keeps; it ends when compileSource returns.
struct RunState {
    explicit RunState(const QString &scriptPath, RunHost &runHost) : path(scriptPath), host(runHost) {}

    // The run window, created hidden on first use by any command.
    toolkit::OutputWindow &window()
    {
        runWindow.load();
        return runWindow;
    }

    // Where the run stands: the script and the line being run.
    RunPlace place() const { return RunPlace{path, lineNumber, fileLine}; }

    const QString &path;
    RunHost &host;
    toolkit::OutputWindow runWindow;
    ArgumentList args;
    QString normalisedLine;
    // The line being run as the file holds it (trimmed, before "Date$" is
    // replaced) and its 1-based number, to find it again in the editor.
    QString fileLine;
    int lineNumber = 0;
    // End of the last step selection, in editor text positions.
    int searchFrom = 0;
    // The line that made each control, by the control's name as written.
    QHash<QString, int> controlLines;
    // Whether CreateWindow shows the run window (RunOptions::showWindow).
    bool showWindow = true;
    // When the run stops between two lines; never for a compile run.
    QDeadlineTimer deadline{QDeadlineTimer::Forever};
};

} // namespace interpreter
