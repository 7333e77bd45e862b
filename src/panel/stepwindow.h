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
    void placeOnScreen();

    QPushButton *m_nextLineButton = nullptr;
    QPushButton *m_compileNormallyButton = nullptr;
    QLabel *m_message = nullptr;
};

// Loads a fresh step window, shows it modally with no owner and returns once
// it has been closed.
void showStepWindow();

} // namespace panel
