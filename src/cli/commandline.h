// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace cli {

// The ways Zarvo can be started.
enum class Mode { Panel, Run, Check, Render, Help, Version };

// Exit statuses.
enum ExitStatus : int {
    ExitOk = 0,
    ExitFailed = 1,          // --check, --render: a script failed
    ExitUsage = 2,           // a usage error
    ExitRunNoButton = 1,     // --run: the close box or Escape closed the window
    ExitRunScriptFailed = 2, // --run: the script failed
    ExitRunUsage = 3,        // --run: a usage error, or no display
    ExitRunUnwritten = 4,    // --run: the answer could not be written
};

// What the command line asks for. A wrong command line leaves error set to a
// one-line description and exitStatus to the status to leave with.
struct Invocation {
    Mode mode = Mode::Panel;
    // The script files as given; the panel's FILE is made absolute.
    QStringList files;
    bool json = false;
    bool strict = false; // --check: warnings fail the script
    // --run: put before every name printed, so that no name is one the
    // shell or the dynamic loader reads.
    QString prefix;
    QString output;
    // --render: the format OUT's suffix names ("png" for "-" and no suffix).
    QByteArray pictureFormat;
    double scale = 1;
    QString error;
    int exitStatus = ExitOk;
};

// Reads the arguments, the program's own name first.
Invocation parseCommandLine(const QStringList &arguments);

QString helpText();
QString versionText();
// The line that follows a usage error.
QString usageHint();

} // namespace cli
