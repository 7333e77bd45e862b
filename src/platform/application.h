// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>

namespace platform {

// The program's application object. Running out of memory inside any event
// handler or slot ends that handler with a report instead of ending the
// program: what the user saved is on disk, and the program goes on.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void reportOutOfMemory() noexcept;

    bool m_outOfMemoryBoxPending = false;
};

} // namespace platform
