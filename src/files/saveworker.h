// SPDX-License-Identifier: MIT
#pragma once

#include "files/savefile.h"

#include <QMutex>
#include <QObject>
#include <QWaitCondition>
#include <memory>

class QThread;

namespace files {

class OwnSaves;

// One save thread: the owner's thread hands it save requests and goes on,
// the thread writes them one after another.
//
// Each request gets a version, one more than the last. A request not yet
// started when a newer one arrives is dropped: the file gets the newest
// bytes, and the dropped version is never reported. finished() reports every
// version the thread did write (or failed to), in order, on the owner's
// thread; so when finished(v, Saved) arrives, the file holds version v, and
// any earlier version not reported was replaced by it.
//
// A request may expect the state the file was in before earlier saves of this
// worker whose results have not reached the owner yet: those saves moved the
// file on, so the request is checked against the state they left.
class SaveWorker : public QObject {
    Q_OBJECT

public:
    explicit SaveWorker(QObject *parent = nullptr);
    // Writes the request still waiting, if any, and the one in progress.
    ~SaveWorker() override;

    // Queues the request; returns its version.
    quint64 save(SaveRequest request);
    // True once nothing is queued or being written; false when the time ran
    // out first. The results of the last saves may still be on their way.
    bool waitUntilIdle(int timeoutMs);

Q_SIGNALS:
    void finished(quint64 version, const files::SaveResult &result);

private:
    void run();
    bool isIdle() const { return !m_waiting && !m_busy; }

    QMutex m_mutex;
    QWaitCondition m_requestArrived;
    QWaitCondition m_becameIdle;
    std::optional<SaveRequest> m_waiting;
    quint64 m_waitingVersion = 0;
    quint64 m_lastVersion = 0;
    bool m_busy = false;
    bool m_stopping = false;
    std::unique_ptr<OwnSaves> m_ownSaves; // the save thread's alone
    std::unique_ptr<QThread> m_thread;
};

} // namespace files
