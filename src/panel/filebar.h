// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace panel {

// The bar above the editor that says when the file is not simply the
// editor's own: another program changed or removed it, or another running
// Zarvo has it open. Its buttons are shown as the situation offers them.
class FileBar : public QWidget {
    Q_OBJECT
public:
    enum Button { Reload = 1, Overwrite = 2, SaveAs = 4, EditAnyway = 8 };
    Q_DECLARE_FLAGS(Buttons, Button)

    explicit FileBar(QWidget *parent = nullptr);

    // Shows the bar with text and the buttons given; an empty text hides it.
    void showMessage(const QString &text, Buttons buttons);

Q_SIGNALS:
    void reloadClicked();
    void overwriteClicked();
    void saveAsClicked();
    void editAnywayClicked();

private:
    QPushButton *addButton(const char *name, const QString &text);

    QLabel *m_text = nullptr;
    QPushButton *m_buttons[4] = {};
};

} // namespace panel

Q_DECLARE_OPERATORS_FOR_FLAGS(panel::FileBar::Buttons)
