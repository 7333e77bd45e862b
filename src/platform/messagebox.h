#pragma once

#include <QString>

namespace platform {

// Message box styles the program uses.
enum MessageStyle : int { MsgCritical = 16, MsgInformation = 64 };

// A modal message box with one OK button, the icon of the style and the
// given title; returns when the user has closed it.
void showMessageBox(const QString &prompt, int style, const QString &title);

} // namespace platform
