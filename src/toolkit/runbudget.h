// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QWidget;

namespace toolkit {

// What one compile run may hold in its output window. Past either figure the
// run ends with 7 (Out of memory) instead of exhausting the machine.
//
// Memory: decoded pictures and list entries together, 1 GiB. A picture
// counts its decoded pixels; an entry counts what a list or combo box keeps
// for it (about 220 bytes measured, plus two bytes per character).
//
// Controls: Qt paints a window's children recursively, one stack frame of
// about 290 bytes per visible control under the region being painted, so some
// 28,500 overlapping controls overflow the usual 8 MB stack. 10,000 controls
// per window paint safely, with room for the stack the caller already uses.
class RunBudget {
public:
    static constexpr qint64 kDefaultMemoryBytes = qint64(1) << 30;
    static constexpr int kDefaultControls = 10000;
    static constexpr qint64 kEntryOverheadBytes = 256;

    explicit RunBudget(qint64 memoryBytes = kDefaultMemoryBytes, int controls = kDefaultControls);

    // Each raises 7 when the charge would pass the budget; nothing is charged then.
    void chargeControl();
    void chargeBytes(qint64 bytes);

private:
    qint64 m_memoryBytes;
    int m_controls;
    qint64 m_bytesUsed = 0;
    int m_controlsUsed = 0;
};

// What a list or combo box keeps for these entries, by the measured figures.
qint64 entriesBytes(const QStringList &entries);

// Charges bytes to the budget of the output window that holds control; a
// control of any other window is not counted.
void chargeRunMemory(QWidget *control, qint64 bytes);

} // namespace toolkit
