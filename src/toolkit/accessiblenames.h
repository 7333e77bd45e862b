// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace toolkit {

// An input control of an output window that no label names.
struct UnlabelledControl {
    QString name; // as the script created it
    QString kind; // "text box", "combo box", "list box", "drive list", "folder list", "file list"
};

// Names the controls of a built output window for screen readers and the
// keyboard. An input control (text box, combo box, list box, drive, folder
// or file list) is named by the nearest label to its left (the label starts
// left of it, overlaps it vertically and ends at most 24 pixels before it),
// or else by the nearest label above it (the label starts above it, overlaps
// it horizontally and ends at most 12 pixels above it). A hidden label or one
// without a caption names nothing, and a label names one control at most.
// The label becomes the control's buddy, so a & in its caption marks its
// mnemonic, and its caption without the & markers is the control's
// accessible name. An input control without a label takes its script name as
// its accessible name and its tool tip as its description. An image takes
// its tool tip, else its picture file's base name, else its script name.
// Returns the visible input controls without a label, in script order.
QList<UnlabelledControl> nameControls(QWidget *window);

} // namespace toolkit
