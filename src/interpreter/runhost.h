// SPDX-License-Identifier: MIT
#pragma once

#include "files/textlines.h"

#include <QString>
#include <optional>

namespace interpreter {

// Where a run ended early: the script it ran and, once a line had been read,
// that line's 1-based number and its text as the file holds it (trimmed of
// spaces, "Date$" not yet replaced). Line 0 means the script file itself.
struct RunPlace {
    QString scriptPath;
    int lineNumber = 0;
    QString fileLine;
};

// One early end of a run, as the run reports it.
struct RunReport {
    // What failed: the error's number and description. A keyword that matched
    // no command has number 0 and names the keyword instead.
    int number = 0;
    QString description;
    QString unknownKeyword;
    // How the control panel shows it: a message box with this title, text and
    // icon style. An empty title means the status line alone, which the run
    // has already written.
    QString title;
    QString text;
    int style = 0;
    RunPlace place;
    // What the defined text leaves out, for the user to find the mistake:
    // which argument failed and what it held, the full path of a file that
    // was tried, a keyword that was probably meant. Empty when there is
    // nothing to add.
    QString detail;
};

// What the user chose at a step pause: the next line, or the end of the run
// with the window as far as it was built.
enum class StepAnswer { NextLine, Stop };
// Something a run that succeeded points out to the script's author: where
// (the line that made the control) and what, as "text box txtUser has no label".
struct RunWarning {
    RunPlace place;
    QString text;
};

// What a compile run needs of whoever started it: a status line, an editor's
// text and selection, the step window, and a place for failure reports. The
// control panel is one host; a host without a panel serves tools and tests.
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual void setStatus(const QString &text) = 0;
    // The editor's text as the run sees it has CR LF line breaks; positions
    // count in it. A host hands it out a line at a time, so that a pause
    // costs the same in a long script as in a short one.
    // Line lineNumber (1-based) of that text; nothing when it has fewer.
    virtual std::optional<files::PlacedLine> editorLine(int lineNumber) const = 0;
    // The first occurrence of text at or after position from, as the rest of
    // the line it stands in; nothing when there is none.
    virtual std::optional<files::PlacedLine> findInEditor(const QString &text, int from,
                                                             Qt::CaseSensitivity cs) const = 0;
    virtual void selectInEditor(int start, int length) = 0;
    virtual void focusEditor() = 0;
    // Shows the step window modally and returns, once it has been closed,
    // whether the run goes on.
    virtual StepAnswer stepPause() = 0;
    // Receives each early end of a run once, while the run window, as far as
    // it was built, is still there.
    virtual void report(const RunReport &report) = 0;
    // Receives each warning of a run that succeeded; hosts that do not show
    // warnings keep this.
    virtual void warn(const RunWarning &) {}
    // Hears of each control the run creates, by the name the script gives
    // it, with the line that creates it.
    virtual void controlCreated(const QString &name, int lineNumber)
    {
        Q_UNUSED(name);
        Q_UNUSED(lineNumber);
    }
};

// A host with no status line, no editor, no pauses and no boxes.
class SilentRunHost : public RunHost {
public:
    void setStatus(const QString &) override {}
    std::optional<files::PlacedLine> editorLine(int) const override { return std::nullopt; }
    std::optional<files::PlacedLine> findInEditor(const QString &, int, Qt::CaseSensitivity) const override
    {
        return std::nullopt;
    }
    void selectInEditor(int, int) override {}
    void focusEditor() override {}
    StepAnswer stepPause() override { return StepAnswer::NextLine; }
    void report(const RunReport &) override {}
};

} // namespace interpreter
