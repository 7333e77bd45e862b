#pragma once

#include "interpreter/runhost.h"
#include "platform/scriptfile.h"

#include <QMainWindow>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace platform {
class ScriptEditor;
}

namespace panel {

// The control panel wMain: the script editor, COMPILE and STEP COMPILE, the
// four-panel status bar and the File, Edit and Help menus.
class MainWindow : public QMainWindow, public interpreter::RunHost {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // The current source path (the window's Tag).
    QString tag() const { return m_tag; }
    void setTag(const QString &path) { m_tag = path; }
    // The encoding the current source text was read with; saves write it back alike.
    platform::TextEncoding sourceEncoding() const { return m_sourceEncoding; }
    void setSourceEncoding(platform::TextEncoding encoding) { m_sourceEncoding = encoding; }
    platform::LineBreak sourceLineBreak() const { return m_sourceLineBreak; }
    void setSourceLineBreak(platform::LineBreak lineBreak) { m_sourceLineBreak = lineBreak; }

    platform::ScriptEditor *editor() const { return m_rtbEdit; }
    QLabel *statusPanel(int index) const; // 1 to 4
    bool autosaveChecked() const;

    // RunHost: what a compile run uses of the panel.
    // SetStatus: the message in the status line (panel 1).
    void setStatus(const QString &text) override;
    QString editorText() const override;
    void selectInEditor(int start, int length) override;
    void focusEditor() override;
    void stepPause() override;

    // Client area below the menu bar, the status bar strip included.
    QSize clientSize() const;


protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void cmdCompile_Click();
    void cmdStepCompile_Click();
    void mABOUT_Click();
    void mQUIT_Click();

    void buildMenus();
    void buildClientArea();
    void buildStatusBar();

    QString m_tag;
    platform::TextEncoding m_sourceEncoding = platform::TextEncoding::Utf8;
    platform::LineBreak m_sourceLineBreak = platform::LineBreak::CrLf;
    QGroupBox *m_fraMain = nullptr;
    QPushButton *m_cmdCompile = nullptr;
    QPushButton *m_cmdStepCompile = nullptr;
    platform::ScriptEditor *m_rtbEdit = nullptr;
    QLabel *m_panels[4] = {};
    QAction *m_mSAVEATEVERYEDIT = nullptr;
};

// The About text: the program's name and version, CR LF, eleven spaces and
// the project's web address.
QString aboutText();

} // namespace panel
