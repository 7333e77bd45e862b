// SPDX-License-Identifier: MIT
#pragma once

#include "interpreter/runhost.h"

namespace panel {

class MainWindow;

// What a compile run started from the control panel uses of it: the status
// line, the editor's lines and selection, the step window, and the place and
// box of a failure report.
class PanelRunHost : public interpreter::RunHost {
public:
    explicit PanelRunHost(MainWindow &panel) : m_panel(panel) {}

    void setStatus(const QString &text) override;
    std::optional<files::PlacedLine> editorLine(int lineNumber) const override;
    std::optional<files::PlacedLine> findInEditor(const QString &text, int from,
                                                  Qt::CaseSensitivity cs) const override;
    void selectInEditor(int start, int length) override;
    void focusEditor() override;
    interpreter::StepAnswer stepPause() override;
    // Shows where the run ended in the editor, then the report's box, if it
    // has one, with the failing line below its text.
    void report(const interpreter::RunReport &report) override;

private:
    MainWindow &m_panel;
};

} // namespace panel
