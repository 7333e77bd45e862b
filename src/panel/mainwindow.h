#pragma once

#include "interpreter/runhost.h"

#include <QMainWindow>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;

namespace platform {
class CapsLockWatcher;
}
namespace editing {
class FindBar;
class ScriptEditor;
} // namespace editing

namespace panel {

class ScriptDocument;

// The control panel wMain: the script editor, COMPILE and STEP COMPILE, the
// four-panel status bar and the File, Edit and Help menus. It owns the script
// document and is the host of the compile runs it starts.
class MainWindow : public QMainWindow, public interpreter::RunHost {
    Q_OBJECT
public:
    // Opens the script at scriptPath, or the default script when it is empty.
    explicit MainWindow(const QString &scriptPath = QString());
    ~MainWindow() override;

    ScriptDocument &document() const { return *m_document; }
    editing::ScriptEditor *editor() const { return m_rtbEdit; }
    editing::FindBar *findBar() const { return m_findBar; }
    QLabel *statusPanel(int index) const; // 1 to 4
    bool autosaveChecked() const;
    // Switches autosave off for the file just loaded, which a save would
    // change or which the editor could not show; the next file loaded clean
    // gets the mark back, unless the user set or cleared it since.
    void holdAutosave();
    void releaseAutosave();

    // RunHost: what a compile run uses of the panel.
    // SetStatus: the message in the status line (panel 1).
    void setStatus(const QString &text) override;
    std::optional<files::PlacedLine> editorLine(int lineNumber) const override;
    std::optional<files::PlacedLine> findInEditor(const QString &text, int from,
                                                     Qt::CaseSensitivity cs) const override;
    void selectInEditor(int start, int length) override;
    void focusEditor() override;
    void stepPause() override;
    // Shows where the run ended in the editor, then the report's box, if it
    // has one, with the failing line below its text.
    void report(const interpreter::RunReport &report) override;

    // Client area below the menu bar, the status bar strip included.
    QSize clientSize() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load(const QString &scriptPath);
    void Form_Resize();
    void cmdCompile_Click();
    void cmdStepCompile_Click();
    void mABOUT_Click();
    void mQUIT_Click();

    void buildMenus();
    void buildClientArea();
    void buildStatusBar();
    // The keys that have no menu item (panel/shortcuts.cpp).
    void buildShortcuts();
    void showModified(bool modified);
    // A run of the current file with the busy cursor; it clears the last
    // failure's mark first.
    void compile(int stepFlag);
    void goToLine();

    QGroupBox *m_fraMain = nullptr;
    QPushButton *m_cmdCompile = nullptr;
    QPushButton *m_cmdStepCompile = nullptr;
    editing::ScriptEditor *m_rtbEdit = nullptr;
    editing::FindBar *m_findBar = nullptr;
    ScriptDocument *m_document = nullptr;
    QLabel *m_panels[4] = {};
    QAction *m_mSAVEATEVERYEDIT = nullptr;
    bool m_autosaveHeld = false;
};

// The About text: the program's name and version, CR LF, eleven spaces and
// the project's web address.
QString aboutText();

} // namespace panel
