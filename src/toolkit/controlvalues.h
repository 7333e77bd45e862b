// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <optional>

class QWidget;

namespace toolkit {

// A control of an output window as the script made it.
struct NamedControl {
    QString name;
    QWidget *widget = nullptr;
    QString classId;
};

// The window's controls in the order the script created them; empty for a
// window that is no output window.
QList<NamedControl> controlsInOrder(QWidget *window);

// What one control of an output window holds once the user is done: a text,
// or for a check box whether it is checked.
struct ControlValue {
    QString name; // as the script created the control
    QString text;
    std::optional<bool> checked;
};

// The values of the window's controls that hold one, in the order the script
// created them: a text box's text, a check box's mark, the selected entry of
// a list box (empty when none), the text a combo box shows, the root of the
// selected drive, the folder a folder list shows, the full path of the
// selected file of a file list (empty when none). Labels, frames, images and
// buttons hold none.
QList<ControlValue> controlValues(QWidget *window);

} // namespace toolkit
