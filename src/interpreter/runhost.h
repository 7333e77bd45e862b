#pragma once

#include <QString>

namespace interpreter {

// What a compile run needs of the control panel: its status line, its
// editor's text and selection, and the step window. The panel registers
// itself; without a panel (benchmarks) every call does nothing.
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual void setStatus(const QString &text) = 0;
    // The editor text with CR LF line breaks; positions count in it.
    virtual QString editorText() const = 0;
    virtual void selectInEditor(int start, int length) = 0;
    virtual void focusEditor() = 0;
    // Shows the step window modally and returns when it has been closed.
    virtual void stepPause() = 0;
};

void setRunHost(RunHost *host);
RunHost &runHost();

} // namespace interpreter
