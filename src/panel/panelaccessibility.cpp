// SPDX-License-Identifier: MIT
#include "panel/panelaccessibility.h"

#include "editor/findbar.h"
#include "editor/scripteditor.h"
#include "panel/mainwindow.h"

#include <QLabel>
#include <QStatusBar>
#include <QWidget>

namespace panel {

namespace {
void nameChild(QWidget &parent, const char *objectName, const QString &accessibleName)
{
    if (auto *child = parent.findChild<QWidget *>(QLatin1String(objectName)))
        child->setAccessibleName(accessibleName);
}
} // namespace

void nameControlPanel(MainWindow &window)
{
    editing::ScriptEditor *editor = window.editor();
    editor->setAccessibleName(QStringLiteral("Script"));
    editor->gutter()->setAccessibleName(QStringLiteral("Line numbers"));
    // Spoken as words rather than spelt out as the capitals the buttons show.
    nameChild(window, "cmdCompile", QStringLiteral("Compile"));
    nameChild(window, "cmdStepCompile", QStringLiteral("Step compile"));
    window.findBar()->setAccessibleName(QStringLiteral("Find"));
    nameChild(*window.findBar(), "cmdFindClose", QStringLiteral("Close the find bar"));
    // "Not found" is the result label's name, which Qt announces when it changes.
    if (auto *result = window.findBar()->findChild<QLabel *>(QStringLiteral("lblFindResult")))
        result->setAccessibleDescription(QStringLiteral("Search result"));
    window.statusBar()->setAccessibleName(QStringLiteral("Status bar"));
    const QString panels[] = {QStringLiteral("Status"), QStringLiteral("Modified"), QStringLiteral("Size"),
                              QStringLiteral("Caps Lock")};
    for (int i = 0; i < 4; ++i)
        window.statusPanel(i + 1)->setAccessibleDescription(panels[i]);
}

} // namespace panel
