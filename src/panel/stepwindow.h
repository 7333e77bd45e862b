// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace panel {

// wStepCompile: holds a STEP COMPILE run between two lines. Closing it, by
// its button or its close box, lets the run go on with the next line;
// Escape closes it and stops the run.
class StepWindow : public QDialog {
    Q_OBJECT
public:
    StepWindow();

    bool stopRequested() const { return m_stopRequested; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void placeOnScreen();

    bool m_stopRequested = false;

    QPushButton *m_nextLineButton = nullptr;
    QPushButton *m_compileNormallyButton = nullptr;
    QLabel *m_message = nullptr;
};

// Loads a fresh step window, shows it modally with no owner and returns once
// it has been closed: true when the run is to go on, false after Escape.
bool showStepWindow();

} // namespace panel
