// SPDX-License-Identifier: MIT
#include "panel/panelrunhost.h"

#include "editor/scripteditor.h"
#include "panel/failureplace.h"
#include "panel/mainwindow.h"
#include "panel/runcursor.h"
#include "panel/stepwindow.h"
#include "platform/messagebox.h"

#include <QLabel>

namespace panel {

namespace {
// A report's text with its detail on a line of its own below it.
QString withDetail(const QString &text, const QString &detail)
{
    if (detail.isEmpty())
        return text;
    return text.isEmpty() ? detail : text + QLatin1Char('\n') + detail;
}
} // namespace

void PanelRunHost::setStatus(const QString &text) { m_panel.setStatus(text); }

std::optional<files::PlacedLine> PanelRunHost::editorLine(int lineNumber) const
{
    return m_panel.editor()->line(lineNumber - 1);
}

std::optional<files::PlacedLine> PanelRunHost::findInEditor(const QString &text, int from,
                                                            Qt::CaseSensitivity cs) const
{
    return m_panel.editor()->find(text, from, cs);
}

void PanelRunHost::selectInEditor(int start, int length) { m_panel.editor()->setSelection(start, length); }

void PanelRunHost::focusEditor() { m_panel.editor()->setFocus(); }

interpreter::StepAnswer PanelRunHost::stepPause()
{
    const IdleCursor waitingForTheUser;
    return showStepWindow() ? interpreter::StepAnswer::NextLine : interpreter::StepAnswer::Stop;
}

void PanelRunHost::report(const interpreter::RunReport &report)
{
    // Reports without a title were given in the status line; an unknown
    // keyword has already selected itself.
    const bool inBox = !report.title.isEmpty();
    const QString shown = inBox ? report.title + QLatin1Char('\n') + report.text : m_panel.statusPanel(1)->text();
    const QString toolTip = withDetail(shown, report.detail);
    editing::ScriptEditor &editor = *m_panel.editor();
    if (showFailurePlace(*this, editor, report, toolTip, report.unknownKeyword.isEmpty()))
        editor.setFocus();
    if (inBox) {
        const IdleCursor waitingForTheUser;
        platform::showMessageBox(report.text, report.style, report.title, &m_panel,
                                 withDetail(placeText(report.place), report.detail));
    } else {
        m_panel.setStatusDetail(report.detail);
    }
}

} // namespace panel
