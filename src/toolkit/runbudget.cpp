// SPDX-License-Identifier: MIT
#include "toolkit/runbudget.h"

#include "platform/error.h"
#include "toolkit/outputwindowwidget.h"

namespace toolkit {

RunBudget::RunBudget(qint64 memoryBytes, int controls) : m_memoryBytes(memoryBytes), m_controls(controls) {}

void RunBudget::chargeControl()
{
    if (m_controlsUsed >= m_controls)
        platform::raiseError(platform::ErrOutOfMemory);
    ++m_controlsUsed;
}

void RunBudget::chargeBytes(qint64 bytes)
{
    if (bytes > m_memoryBytes - m_bytesUsed)
        platform::raiseError(platform::ErrOutOfMemory);
    m_bytesUsed += bytes;
}

qint64 entriesBytes(const QStringList &entries)
{
    qint64 bytes = 0;
    for (const QString &entry : entries)
        bytes += RunBudget::kEntryOverheadBytes + 2 * qint64(entry.size());
    return bytes;
}

void chargeRunMemory(QWidget *control, qint64 bytes)
{
    if (auto *window = qobject_cast<OutputWindowWidget *>(control->parentWidget())) {
        window->budget().chargeBytes(bytes);
        window->addChargedBytes(control->objectName(), bytes);
    }
}

} // namespace toolkit
