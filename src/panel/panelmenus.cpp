#include "panel/panelmenus.h"

#include "editor/findbar.h"
#include "interpreter/compilesource.h"
#include "panel/mainwindow.h"
#include "panel/sourcefiles.h"

#include <QAction>
#include <QLineEdit>
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
    buildKeys();
}

QMenu *PanelMenus::addMenu(const char *name, const QString &title)
{
    QMenu *menu = m_window.menuBar()->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *PanelMenus::addAction(QMenu *menu, const char *name, const QString &caption,
                               const std::function<void()> &handler)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (handler)
        connect(action, &QAction::triggered, &m_window, handler);
    return action;
}

QAction *PanelMenus::addKey(const char *name, const QList<QKeySequence> &keys, const std::function<void()> &handler)
{
    auto *action = new QAction(&m_window);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, &m_window, handler);
    m_window.addAction(action);
    return action;
}

void PanelMenus::buildFileMenu()
{
    SourceFiles &files = m_window.sourceFiles();
    QMenu *file = addMenu("mFILE", QStringLiteral("&File"));
    addAction(file, "mOPEN", QStringLiteral("&Open..."), [&files] { files.open(); })
        ->setShortcuts(keysFor(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
    addAction(file, "mSAVEAS", QStringLiteral("&Save As..."), [&files] { files.saveAs(); })
        ->setShortcuts(keysFor(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    file->addSeparator()->setObjectName(QStringLiteral("blank0"));
    addAction(file, "mQUIT", QStringLiteral("&Quit"), [this] { m_window.close(); })
        ->setShortcuts(keysFor(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
}

void PanelMenus::buildEditMenu()
{
    QMenu *edit = addMenu("mEDIT", QStringLiteral("&Edit"));
    m_autosave = addAction(edit, "mSAVEATEVERYEDIT", QStringLiteral("Save source at every edit"), {});
    // A checkable action toggles its own mark; the next change follows it.
    m_autosave->setCheckable(true);
    m_autosave->setChecked(true);
}

void PanelMenus::buildRunMenu()
{
    QMenu *run = addMenu("mRUN", QStringLiteral("&Run"));
    addAction(run, "actCompile", QStringLiteral("&Compile"), [this] { m_window.compile(interpreter::CompileNormally); })
        ->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(run, "actStepCompile", QStringLiteral("&Step Compile"),
              [this] { m_window.compile(interpreter::CompileStepByStep); })
        ->setShortcut(QKeySequence(Qt::Key_F8));
}

void PanelMenus::buildHelpMenu()
{
    QMenu *help = addMenu("mHELP", QStringLiteral("&Help"));
    addAction(help, "mABOUT", QStringLiteral("&About"), [this] { m_window.showAbout(); });
}

void PanelMenus::buildKeys()
{
    editing::FindBar *findBar = m_window.findBar();
    auto findOrOpen = [findBar](bool backward) {
        if (findBar->field()->text().isEmpty())
            findBar->open();
        else if (backward)
            findBar->findPrevious();
        else
            findBar->findNext();
    };
    // Ctrl+S saves whether or not the autosave mark is set.
    addKey("actSaveNow", keysFor(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)),
           [this] { m_window.sourceFiles().saveNow(); });
    addKey("actFind", keysFor(QKeySequence::Find, QKeySequence(Qt::CTRL | Qt::Key_F)), [findBar] { findBar->open(); });
    // Not QKeySequence::FindNext: some schemes give it Ctrl+G, which is Go to line here.
    addKey("actFindNext", {QKeySequence(Qt::Key_F3)}, [findOrOpen] { findOrOpen(false); });
    addKey("actFindPrevious", {QKeySequence(Qt::SHIFT | Qt::Key_F3)}, [findOrOpen] { findOrOpen(true); });
    addKey("actGoToLine", {QKeySequence(Qt::CTRL | Qt::Key_G)}, [this] { m_window.goToLine(); });
}

} // namespace panel
