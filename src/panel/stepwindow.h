#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace panel {

// wStepCompile: holds a STEP COMPILE run between two lines. Closing it, by
// its button or its close box, lets the run go on with the next line.
class StepWindow : public QDialog {
    Q_OBJECT
public:
    StepWindow();

private:
    void Form_Load();
    void cmdCompileNextLine_Click();

    QPushButton *m_cmdCompileNextLine = nullptr;
    QPushButton *m_cmdCompileNormally = nullptr;
    QLabel *m_txtBlah = nullptr;
};

// Loads a fresh step window, shows it modally with no owner and returns once
// it has been closed.
void showStepWindow();

} // namespace panel
