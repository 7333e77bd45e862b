// SPDX-License-Identifier: MIT
#include "platform/application.h"

#include "platform/error.h"
#include "platform/messagebox.h"

#include <cstdio>
#include <new>

namespace platform {

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc &) {
        const QString text = QString::number(ErrOutOfMemory) + QStringLiteral(": ")
            + standardDescription(ErrOutOfMemory);
        std::fprintf(stderr, "zarvo: %s\n", qPrintable(text));
        showMessageBox(text, MsgCritical, QStringLiteral("UNTRAPPED ERROR..."), activeWindow());
        return false;
    }
}

} // namespace platform
