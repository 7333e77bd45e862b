// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;

namespace interpreter {
class RunHost;
}
namespace editing {
class FindBar;
class ScriptEditor;
} // namespace editing

namespace panel {

class FileBar;
class HelpViewer;
class LiveController;
class PanelMenus;
class ScriptDocument;
class SourceFiles;
class StatusLine;

// The control panel's own title; the window's title puts the script's file
// name before it.
QString panelTitle();

// The control panel wMain: the script editor, COMPILE and STEP COMPILE, the
// four-panel status bar and the menus. It owns the script document and the
// host of the compile runs it starts.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Opens the script at scriptPath, or the default script when it is empty.
    explicit MainWindow(const QString &scriptPath = QString());
    ~MainWindow() override;

    ScriptDocument &document() const { return *m_document; }
    SourceFiles &sourceFiles() const { return *m_sourceFiles; }
    LiveController &live() const { return *m_live; }
    interpreter::RunHost &runHost() const { return *m_runHost; }
    editing::ScriptEditor *editor() const { return m_editor; }
    editing::FindBar *findBar() const { return m_findBar; }
    FileBar *fileBar() const { return m_fileBar; }
    QLabel *statusPanel(int index) const; // 1 to 4

    bool autosaveChecked() const;
    // Switches autosave off for the file just loaded, which a save would
    // change or which the editor could not show; the next file loaded clean
    // gets the mark back, unless the user set or cleared it since.
    void holdAutosave();
    void releaseAutosave();

    // The message in the status line (panel 1), painted at once.
    void setStatus(const QString &text);
    // What the status line's message leaves out, shown in its tool tip.
    void setStatusDetail(const QString &detail);

    // Client area below the menu bar, the status bar strip included.
    QSize clientSize() const;

    // A run of the current file with the busy cursor, once the saves under
    // way are written; it clears the last failure's mark first.
    void compile(int stepFlag);
    // Ends the panel as Quit does, for a signal that asks the program to end:
    // without a question, unsaved edits kept as a recovery copy.
    void closeForSignal();
    // Asks for a line number and puts the cursor, and the focus, there.
    void goToLine();
    void showAbout();
    // The help window on a file of the documentation, at a heading's anchor.
    void showHelp(const QString &fileName, const QString &anchor = QString());
    // The script reference, at the command the editor's cursor line starts with.
    void showReference();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadStartScript(const QString &scriptPath);
    void layoutClientArea();
    void buildClientArea();
    void buildStatusBar();
    void showModified(bool modified);
    void connectDocument();
    void showPath(const QString &path);

    QGroupBox *m_frame = nullptr;
    // The editor with the find bar below it, where the design puts the editor.
    QWidget *m_editorArea = nullptr;
    QPushButton *m_compileButton = nullptr;
    QPushButton *m_stepCompileButton = nullptr;
    editing::ScriptEditor *m_editor = nullptr;
    editing::FindBar *m_findBar = nullptr;
    FileBar *m_fileBar = nullptr;
    ScriptDocument *m_document = nullptr;
    SourceFiles *m_sourceFiles = nullptr;
    LiveController *m_live = nullptr;
    PanelMenus *m_menus = nullptr;
    HelpViewer *m_help = nullptr;
    std::unique_ptr<interpreter::RunHost> m_runHost;
    StatusLine *m_statusLine = nullptr;
    QLabel *m_statusPanels[4] = {};
    bool m_autosaveHeld = false;
    bool m_closingForSignal = false;
};

// The About text: the program's name and version, CR LF, eleven spaces and
// the project's web address.
QString aboutText();

} // namespace panel
