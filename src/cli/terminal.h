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

// The host of runs started from a terminal: no status line, no editor, no
// message boxes; each failure goes to standard error as one reportLine.
class TerminalRunHost : public interpreter::SilentRunHost {
public:
    void report(const interpreter::RunReport &report) override;
    bool failed() const { return m_failed; }

private:
    bool m_failed = false;
};

} // namespace cli
