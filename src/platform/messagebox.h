#pragma once

#include "platform/messagestyle.h"

#include <QString>

namespace platform {

// A modal message box with one OK button, the icon of the style and the
// given title; returns when the user has closed it.
void showMessageBox(const QString &prompt, int style, const QString &title);

} // namespace platform
