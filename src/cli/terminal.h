#pragma once

#include "interpreter/runhost.h"

#include <QString>

namespace cli {

// Writes text as UTF-8 to standard output or standard error, at once.
void writeOut(const QString &text);
void writeError(const QString &text);

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
    bool failed() const { return m_failed; }
    void showWarnings() { m_warningsShown = true; }
    int warningCount() const { return m_warningCount; }

private:
    bool m_failed = false;
    bool m_warningsShown = false;
    int m_warningCount = 0;
};

} // namespace cli
