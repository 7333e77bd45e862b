// SPDX-License-Identifier: MIT
#include "files/editlock.h"

#include "files/savetarget.h"
#include "files/statefolder.h"
#include "platform/filenames.h"

#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {
constexpr int kMaxTakeAttempts = 4;
// The holder writes its process id right after taking the lock.
constexpr int kProcessIdReads = 20;
constexpr int kProcessIdReadPauseMs = 1;

QByteArray lockNameFor(const QString &scriptPath)
{
    const QByteArray target = resolvedLinkTarget(platform::fileNameToBytes(scriptPath));
    return target.isEmpty() ? QByteArray() : pathKey(folderOf(target), nameOf(target));
}

bool isOwnRegularFile(int fd, struct stat &status)
{
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid();
}

qint64 holderOf(int fd)
{
    for (int read = 0; read < kProcessIdReads; ++read) {
        QByteArray text;
        if (::lseek(fd, 0, SEEK_SET) == 0 && readAll(fd, text, 32, 32) == 0 && text.endsWith('\n'))
            return text.trimmed().toLongLong();
        QThread::msleep(kProcessIdReadPauseMs);
    }
    return 0;
}
} // namespace

EditLock::EditLock(const QString &scriptPath)
{
    const QByteArray name = lockNameFor(scriptPath);
    if (name.isEmpty())
        return;
    m_folder = openStateFolder("locks").fd;
    if (m_folder.isOpen())
        take(name);
}

EditLock::~EditLock()
{
    // Removed while still locked, so that nobody takes a lock on a name
    // that is about to go.
    if (m_lock.isOpen())
        ::unlinkat(m_folder.get(), m_lockName.constData(), 0);
}

void EditLock::take(const QByteArray &name)
{
    for (int attempt = 0; attempt < kMaxTakeAttempts; ++attempt) {
        FileDescriptor lock(::openat(m_folder.get(), name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                                     kPrivateFileMode));
        struct stat opened, named;
        if (!lock.isOpen() || !isOwnRegularFile(lock.get(), opened))
            return;
        if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                m_otherProcessId = holderOf(lock.get());
            return;
        }
        // The last holder may have removed the name after we opened it.
        if (::fstatat(m_folder.get(), name.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0 || named.st_ino != opened.st_ino || named.st_dev != opened.st_dev)
            continue;
        const QByteArray processId = QByteArray::number(qint64(::getpid())) + '\n';
        if (::ftruncate(lock.get(), 0) != 0 || writeAllAt(lock.get(), processId.constData(), processId.size(), 0) != 0)
            return;
        m_lock = std::move(lock);
        m_lockName = name;
        return;
    }
}

} // namespace files
