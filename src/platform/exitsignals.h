// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal, so that the program can
// end the way Quit does (finish the save in progress, remove its temporary
// files, then exit with 128 + the signal's number) instead of dying in the
// middle of a write. The system's signal handler only writes the number into
// a pipe; a QSocketNotifier reads it on the thread that made this object.
//
// While one of these objects exists, the three signals no longer end the
// program by themselves; once the last one is gone they do again. A second
// signal arriving after one was relayed ends the program at once, so that a
// quit that hangs can still be ended.
class ExitSignals : public QObject {
    Q_OBJECT

public:
    explicit ExitSignals(QObject *parent = nullptr);
    ~ExitSignals() override;

Q_SIGNALS:
    void exitRequested(int signalNumber);

private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace platform
