#include "panel/shortcuts.h"

#include "interpreter/compilesource.h"
#include "panel/mainwindow.h"
#include "panel/sourcefiles.h"
#include "editor/findbar.h"

#include <QAction>
#include <QLineEdit>

namespace panel {

QList<QKeySequence> keysFor(QKeySequence::StandardKey standard, const QKeySequence &wanted)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    if (!keys.contains(wanted))
        keys.prepend(wanted);
    return keys;
}

void MainWindow::buildShortcuts()
{
    auto add = [this](const char *name, const QList<QKeySequence> &keys, const std::function<void()> &handler) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    auto findOrOpen = [this](bool backward) {
        if (m_findBar->field()->text().isEmpty())
            m_findBar->open();
        else if (backward)
            m_findBar->findPrevious();
        else
            m_findBar->findNext();
    };
    // Ctrl+S saves whether or not the autosave mark is set.
    add("actSaveNow", keysFor(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)), [this] { saveCurrentSource(*this); });
    add("actCompile", {QKeySequence(Qt::Key_F5)}, [this] { compile(interpreter::CompileNormally); });
    add("actStepCompile", {QKeySequence(Qt::Key_F8)}, [this] { compile(interpreter::CompileStepByStep); });
    add("actFind", keysFor(QKeySequence::Find, QKeySequence(Qt::CTRL | Qt::Key_F)), [this] { m_findBar->open(); });
    // Not QKeySequence::FindNext: some schemes give it Ctrl+G, which is Go to line here.
    add("actFindNext", {QKeySequence(Qt::Key_F3)}, [findOrOpen] { findOrOpen(false); });
    add("actFindPrevious", {QKeySequence(Qt::SHIFT | Qt::Key_F3)}, [findOrOpen] { findOrOpen(true); });
    add("actGoToLine", {QKeySequence(Qt::CTRL | Qt::Key_G)}, [this] { goToLine(); });
}

} // namespace panel
