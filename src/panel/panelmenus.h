// SPDX-License-Identifier: MIT
#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QMenu;

namespace panel {

class MainWindow;

// The keys of an action: the platform's standard keys for it, with wanted
// added first where the platform's scheme has no such key (some schemes
// have no Save As or Quit key).
QList<QKeySequence> keysFor(QKeySequence::StandardKey standard, const QKeySequence &wanted);

// The control panel's menus (File, Edit, Run, Help) and their keys, all
// calling the panel's own commands. Edit items are enabled as the editor
// allows (undo, redo, a selection to cut or copy, text to paste).
class PanelMenus : public QObject {
    Q_OBJECT
public:
    explicit PanelMenus(MainWindow &window);

    // "Save source at every edit": its check mark is the autosave mark.
    QAction *autosaveAction() const { return m_autosave; }

private:
    QMenu *addMenu(const char *name, const QString &title);
    QAction *addAction(QMenu *menu, const char *name, const QString &caption, const std::function<void()> &handler,
                       const QList<QKeySequence> &keys = {});
    void buildFileMenu();
    void fillRecentMenu(QMenu *recent);
    void buildEditMenu();
    void followEditorState(QAction *undo, QAction *redo, QAction *cut, QAction *copy, QAction *paste);
    void addFindItems(QMenu *edit);
    void buildRunMenu();
    void buildHelpMenu();

    MainWindow &m_window;
    QAction *m_autosave = nullptr;
};

} // namespace panel
