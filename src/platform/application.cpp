// SPDX-License-Identifier: MIT
#include "platform/application.h"

#include "platform/error.h"
#include "platform/messagebox.h"

#include <QTimer>

#include <cstdio>
#include <new>

namespace platform {

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc &) {
        reportOutOfMemory();
        return false;
    }
}

// Said at once on standard error; the box waits for the event loop, so that
// no modal loop runs inside the event delivery that just failed, and one box
// stands for any number of failures until it is closed.
void Application::reportOutOfMemory() noexcept
{
    const QString text = QString::number(ErrOutOfMemory) + QStringLiteral(": ") + standardDescription(ErrOutOfMemory);
    std::fprintf(stderr, "zarvo: %s\n", qPrintable(text));
    if (m_outOfMemoryBoxPending)
        return;
    try {
        QTimer::singleShot(0, this, [this, text] {
            showMessageBox(text, MsgCritical, QStringLiteral("UNTRAPPED ERROR..."), activeWindow());
            m_outOfMemoryBoxPending = false;
        });
        m_outOfMemoryBoxPending = true;
    } catch (const std::bad_alloc &) {
        // Standard error has said it; there is no memory for a box.
    }
}

} // namespace platform
