// SPDX-License-Identifier: MIT
#include "files/saveworker.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QThread>

namespace files {

namespace {
// Enough for the saves a busy owner thread has not heard of yet.
constexpr qsizetype kRememberedStates = 16;
} // namespace

// What this worker's own saves did to each file: the states they replaced
// and the state the last one left.
class OwnSaves {
public:
    // The state the request must find: the one our saves left, when the
    // request expects a state they replaced.
    std::optional<FileIdentity> expectedFor(const SaveRequest &request) const
    {
        const auto found = m_files.constFind(request.path);
        if (!request.expected || found == m_files.cend())
            return request.expected;
        for (const FileIdentity &replaced : found->replaced) {
            if (replaced.sameAs(*request.expected))
                return found->left;
        }
        return request.expected;
    }
    void record(const QString &path, const FileIdentity &replaced, const SaveResult &result)
    {
        if (!result.written.exists)
            return;
        Record &record = m_files[path];
        record.replaced.append(replaced);
        if (record.replaced.size() > kRememberedStates)
            record.replaced.removeFirst();
        record.left = result.written;
    }

private:
    struct Record {
        QList<FileIdentity> replaced;
        FileIdentity left;
    };
    QHash<QString, Record> m_files;
};

SaveWorker::SaveWorker(QObject *parent)
    : QObject(parent), m_ownSaves(std::make_unique<OwnSaves>()), m_thread(QThread::create([this] { run(); }))
{
    m_thread->setObjectName(QStringLiteral("save thread"));
    m_thread->start();
}

SaveWorker::~SaveWorker()
{
    {
        QMutexLocker locker(&m_mutex);
        m_stopping = true;
        m_requestArrived.wakeAll();
    }
    m_thread->wait();
}

quint64 SaveWorker::save(SaveRequest request)
{
    QMutexLocker locker(&m_mutex);
    m_waiting = std::move(request);
    m_waitingVersion = ++m_lastVersion;
    m_requestArrived.wakeAll();
    return m_waitingVersion;
}

bool SaveWorker::waitUntilIdle(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QMutexLocker locker(&m_mutex);
    while (!isIdle()) {
        if (!m_becameIdle.wait(&m_mutex, deadline))
            break;
    }
    return isIdle();
}

void SaveWorker::run()
{
    QMutexLocker locker(&m_mutex);
    for (;;) {
        while (!m_waiting && !m_stopping)
            m_requestArrived.wait(&m_mutex);
        if (!m_waiting)
            return;
        SaveRequest request = std::move(*m_waiting);
        const quint64 version = m_waitingVersion;
        m_waiting.reset();
        m_busy = true;
        locker.unlock();

        request.expected = m_ownSaves->expectedFor(request);
        const FileIdentity replaced = request.expected ? *request.expected : currentIdentity(request.path);
        const SaveResult result = saveFile(request);
        m_ownSaves->record(request.path, replaced, result);
        QMetaObject::invokeMethod(
            this, [this, version, result] { Q_EMIT finished(version, result); }, Qt::QueuedConnection);

        locker.relock();
        m_busy = false;
        if (isIdle())
            m_becameIdle.wakeAll();
    }
}

} // namespace files
