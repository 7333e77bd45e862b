// SPDX-License-Identifier: MIT
#pragma once

#include "interpreter/runhost.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace cli {

// Opens /dev/null on each of standard input, output and error that is
// closed, before anything else opens a file that would take its number.
void occupyClosedStandardDescriptors();

// Writes bytes, or text as UTF-8 (a file name's bytes that are not UTF-8 as
// they are, platform/filenames.h), to standard output or standard error, at
// once. writeOut returns false when not every byte could be written.
bool writeOut(const QByteArray &bytes);
bool writeOut(const QString &text);
void writeError(const QString &text);
// Why the last write failed, as the system says it.
QString lastWriteError();

// One failure of a run as editors and CI jobs read it:
//   FILE:LINE: error N: description
//   FILE:LINE: error: unknown command: KEYWORD
//   FILE: error N: description            (the script file itself)
// followed by "; " and the report's detail when it has one.
QString reportLine(const interpreter::RunReport &report);

// One warning of a run as editors and CI jobs read it:
//   FILE:LINE: warning: text box txtUser has no label
QString warningLine(const interpreter::RunWarning &warning);

// The host of runs started from a terminal: no status line, no editor, no
// message boxes; each failure goes to standard error as one reportLine.
// Warnings are counted, and written there too once showWarnings() is called.
class TerminalRunHost : public interpreter::SilentRunHost {
public:
    void report(const interpreter::RunReport &report) override;
    void warn(const interpreter::RunWarning &warning) override;
    void controlCreated(const QString &name, int lineNumber) override;
    bool failed() const { return m_failed; }
    void showWarnings() { m_warningsShown = true; }
    int warningCount() const { return m_warningCount; }
    // The line that created the control of that name (any letter case), or 0.
    int lineOfControl(const QString &name) const;

private:
    bool m_failed = false;
    bool m_warningsShown = false;
    int m_warningCount = 0;
    QHash<QString, int> m_controlLines; // by toolkit::controlNameKey()
};

} // namespace cli
