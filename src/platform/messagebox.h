// SPDX-License-Identifier: MIT
#pragma once

#include "platform/messagestyle.h"

#include <QMessageBox>
#include <QString>

namespace platform {

// A message box or question of the program: modal to its owner and centred
// on the owner's window, and wide enough that a window manager's title bar
// shows its whole title (the title-bar font, with room for the bar's icon
// and buttons).
class MessageBox : public QMessageBox {
    Q_OBJECT
public:
    MessageBox(Icon icon, const QString &title, const QString &text, StandardButtons buttons, QWidget *owner);

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_widened = false;
};

// The width in pixels a window needs for its whole title in a title bar.
int titleBarWidth(const QString &title);

// A modal message box with one OK button, the icon of the style, the given
// title and text, and below the text the informative text when there is one.
// Returns when the user has closed it.
void showMessageBox(const QString &prompt, int style, const QString &title, QWidget *owner = nullptr,
                    const QString &informativeText = QString());

} // namespace platform
