// SPDX-License-Identifier: MIT
#include "panel/panelmenus.h"

#include "editor/findbar.h"
#include "editor/scripteditor.h"
#include "interpreter/compilesource.h"
#include "panel/designcontroller.h"
#include "panel/livecontroller.h"
#include "panel/mainwindow.h"
#include "panel/recentscripts.h"
#include "panel/sourcefiles.h"
#include "platform/filenames.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>

namespace panel {

QList<QKeySequence> keysFor(QKeySequence::StandardKey standard, const QKeySequence &wanted)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    if (!keys.contains(wanted))
        keys.prepend(wanted);
    return keys;
}

PanelMenus::PanelMenus(MainWindow &window) : QObject(&window), m_window(window)
{
    buildFileMenu();
    buildEditMenu();
    buildRunMenu();
    buildHelpMenu();
}

QMenu *PanelMenus::addMenu(const char *name, const QString &title)
{
    QMenu *menu = m_window.menuBar()->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *PanelMenus::addAction(QMenu *menu, const char *name, const QString &caption,
                               const std::function<void()> &handler, const QList<QKeySequence> &keys)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    if (handler)
        connect(action, &QAction::triggered, &m_window, handler);
    return action;
}

void PanelMenus::buildFileMenu()
{
    SourceFiles &files = m_window.sourceFiles();
    QMenu *file = addMenu("mFILE", QStringLiteral("&File"));
    addAction(file, "actNew", QStringLiteral("&New..."), [&files] { files.newFile(); },
              keysFor(QKeySequence::New, QKeySequence(Qt::CTRL | Qt::Key_N)));
    addAction(file, "mOPEN", QStringLiteral("&Open..."), [&files] { files.open(); },
              keysFor(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
    QMenu *recent = file->addMenu(QStringLiteral("Open &Recent"));
    recent->setObjectName(QStringLiteral("menuOpenRecent"));
    recent->menuAction()->setObjectName(QStringLiteral("actOpenRecent"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
    // Saves whether or not the autosave mark is set.
    addAction(file, "actSave", QStringLiteral("Sa&ve"), [&files] { files.saveNow(); },
              keysFor(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
    addAction(file, "mSAVEAS", QStringLiteral("&Save As..."), [&files] { files.saveAs(); },
              keysFor(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    file->addSeparator()->setObjectName(QStringLiteral("blank0"));
    addAction(file, "mQUIT", QStringLiteral("&Quit"), [this] { m_window.close(); },
              keysFor(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
}

// The scripts that are still there, newest first, then a way to empty the list.
void PanelMenus::fillRecentMenu(QMenu *recent)
{
    recent->clear();
    int number = 0;
    for (const QString &path : recentScripts()) {
        if (!platform::entryExists(path))
            continue;
        // A "&" in a folder's name is shown, not taken as a mnemonic.
        const QString shown = platform::visibleFileName(path).replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *item = recent->addAction(QStringLiteral("&%1 %2").arg(++number).arg(shown));
        connect(item, &QAction::triggered, this, [this, path] { m_window.sourceFiles().openRecent(path); });
    }
    recent->addSeparator();
    QAction *clear = recent->addAction(QStringLiteral("&Clear List"), [] { forgetRecentScripts(); });
    clear->setObjectName(QStringLiteral("actClearRecent"));
    clear->setEnabled(number > 0);
}

// Each command of the Edit menu acts on the editor and leaves the focus there.
void PanelMenus::buildEditMenu()
{
    editing::ScriptEditor *editor = m_window.editor();
    QMenu *edit = addMenu("mEDIT", QStringLiteral("&Edit"));
    const auto onEditor = [editor](void (QPlainTextEdit::*command)()) {
        return [editor, command] {
            (editor->*command)();
            editor->setFocus(Qt::OtherFocusReason);
        };
    };
    QAction *undo = addAction(edit, "actUndo", QStringLiteral("&Undo"), onEditor(&QPlainTextEdit::undo),
                              keysFor(QKeySequence::Undo, QKeySequence(Qt::CTRL | Qt::Key_Z)));
    QList<QKeySequence> redoKeys = keysFor(QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QAction *redo = addAction(edit, "actRedo", QStringLiteral("&Redo"), onEditor(&QPlainTextEdit::redo), redoKeys);
    edit->addSeparator();
    QAction *cut = addAction(edit, "actCut", QStringLiteral("Cu&t"), onEditor(&QPlainTextEdit::cut),
                             keysFor(QKeySequence::Cut, QKeySequence(Qt::CTRL | Qt::Key_X)));
    QAction *copy = addAction(edit, "actCopy", QStringLiteral("&Copy"), onEditor(&QPlainTextEdit::copy),
                              keysFor(QKeySequence::Copy, QKeySequence(Qt::CTRL | Qt::Key_C)));
    QAction *paste = addAction(edit, "actPaste", QStringLiteral("&Paste"), onEditor(&QPlainTextEdit::paste),
                               keysFor(QKeySequence::Paste, QKeySequence(Qt::CTRL | Qt::Key_V)));
    addAction(edit, "actSelectAll", QStringLiteral("Select &All"), onEditor(&QPlainTextEdit::selectAll),
              keysFor(QKeySequence::SelectAll, QKeySequence(Qt::CTRL | Qt::Key_A)));
    followEditorState(undo, redo, cut, copy, paste);
    edit->addSeparator();
    addFindItems(edit);
    edit->addSeparator();
    m_autosave = addAction(edit, "mSAVEATEVERYEDIT", QStringLiteral("Save source at every edit"), {});
    // A checkable action toggles its own mark; the next change follows it.
    m_autosave->setCheckable(true);
    m_autosave->setChecked(true);
}

void PanelMenus::followEditorState(QAction *undo, QAction *redo, QAction *cut, QAction *copy, QAction *paste)
{
    editing::ScriptEditor *editor = m_window.editor();
    undo->setEnabled(false);
    redo->setEnabled(false);
    cut->setEnabled(false);
    copy->setEnabled(false);
    connect(editor, &QPlainTextEdit::undoAvailable, undo, &QAction::setEnabled);
    connect(editor, &QPlainTextEdit::redoAvailable, redo, &QAction::setEnabled);
    connect(editor, &QPlainTextEdit::copyAvailable, cut, &QAction::setEnabled);
    connect(editor, &QPlainTextEdit::copyAvailable, copy, &QAction::setEnabled);
    const auto followClipboard = [editor, paste] { paste->setEnabled(editor->canPaste()); };
    connect(QApplication::clipboard(), &QClipboard::dataChanged, paste, followClipboard);
    followClipboard();
}

void PanelMenus::addFindItems(QMenu *edit)
{
    editing::FindBar *findBar = m_window.findBar();
    editing::ScriptEditor *editor = m_window.editor();
    // From the find bar's field the search goes on there; from anywhere else
    // the focus goes to the match.
    auto findAgain = [findBar, editor](bool backward) {
        if (findBar->findAgain(backward) && !findBar->isAncestorOf(QApplication::focusWidget()))
            editor->setFocus(Qt::OtherFocusReason);
    };
    addAction(edit, "actFind", QStringLiteral("&Find..."), [findBar] { findBar->open(); },
              keysFor(QKeySequence::Find, QKeySequence(Qt::CTRL | Qt::Key_F)));
    // Not QKeySequence::FindNext: some schemes give it Ctrl+G, which is Go to line here.
    addAction(edit, "actFindNext", QStringLiteral("Find &Next"), [findAgain] { findAgain(false); },
              {QKeySequence(Qt::Key_F3)});
    addAction(edit, "actFindPrevious", QStringLiteral("Find Pre&vious"), [findAgain] { findAgain(true); },
              {QKeySequence(Qt::SHIFT | Qt::Key_F3)});
    addAction(edit, "actGoToLine", QStringLiteral("&Go to Line..."), [this] { m_window.goToLine(); },
              {QKeySequence(Qt::CTRL | Qt::Key_G)});
}

void PanelMenus::buildRunMenu()
{
    QMenu *run = addMenu("mRUN", QStringLiteral("&Run"));
    addAction(run, "actCompile", QStringLiteral("&Compile"), [this] { m_window.compile(interpreter::CompileNormally); },
              {QKeySequence(Qt::Key_F5)});
    addAction(run, "actStepCompile", QStringLiteral("&Step Compile"),
              [this] { m_window.compile(interpreter::CompileStepByStep); }, {QKeySequence(Qt::Key_F8)});
    run->addSeparator();
    run->addAction(m_window.live().liveAction());
    run->addAction(m_window.live().design().designAction());
    run->addMenu(m_window.live().design().addControlMenu());
}

void PanelMenus::buildHelpMenu()
{
    QMenu *help = addMenu("mHELP", QStringLiteral("&Help"));
    addAction(help, "actScriptReference", QStringLiteral("Script &Reference"), [this] { m_window.showReference(); },
              keysFor(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)));
    addAction(help, "actShellModes", QStringLiteral("&Shell Modes"),
              [this] { m_window.showHelp(QStringLiteral("shell-mode.md")); });
    help->addSeparator();
    addAction(help, "mABOUT", QStringLiteral("&About"), [this] { m_window.showAbout(); });
}

} // namespace panel
