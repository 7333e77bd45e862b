// SPDX-License-Identifier: MIT
#include "files/secondname.h"

#include "files/systemcalls.h"

#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {
// The second names this process has created and not yet renamed or removed.
QMutex g_ownFilesMutex;
QSet<QByteArray> g_ownFiles;

void forget(const QByteArray &path)
{
    QMutexLocker locker(&g_ownFilesMutex);
    g_ownFiles.remove(path);
}
} // namespace

int SecondNameFile::create(int folder, const QByteArray &folderPath, const QByteArray &name, mode_t mode)
{
    remove();
    m_fd = FileDescriptor(sys::retrying(
        [&] { return sys::openat(folder, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode); }));
    if (!m_fd.isOpen())
        return errno;
    ::flock(m_fd.get(), LOCK_EX);
    m_folder = folder;
    m_name = name;
    m_path = folderPath + '/' + name;
    QMutexLocker locker(&g_ownFilesMutex);
    g_ownFiles.insert(m_path);
    return 0;
}

int SecondNameFile::writeAndFlush(QByteArrayView bytes)
{
    if (const int error = writeAllAt(m_fd.get(), bytes.data(), bytes.size(), 0))
        return error;
    return sys::retrying([&] { return sys::fdatasync(m_fd.get()); }) == 0 ? 0 : errno;
}

int SecondNameFile::renameTo(const QByteArray &name, unsigned int flags)
{
    const auto rename = [&](unsigned int with) {
        return sys::retrying([&] { return sys::renameat2(m_folder, m_name.constData(), m_folder, name.constData(), with); });
    };
    int result = rename(flags);
    // A file system that cannot refuse to replace: the caller looked first.
    if (result != 0 && errno == EINVAL && flags != 0)
        result = rename(0);
    if (result != 0)
        return errno;
    forget(m_path);
    m_name.clear();
    return 0;
}

void SecondNameFile::remove()
{
    if (m_name.isEmpty())
        return;
    ::unlinkat(m_folder, m_name.constData(), 0);
    forget(m_path);
    m_name.clear();
    m_fd.close();
}

QByteArray randomSuffix()
{
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray text(kRandomSuffixLength, Qt::Uninitialized);
    for (char &c : text)
        c = kAlphabet[QRandomGenerator::global()->bounded(int(sizeof kAlphabet - 1))];
    return text;
}

QList<QByteArray> namesStartingWith(int folder, const QByteArray &prefix)
{
    QList<QByteArray> names;
    const int listed = ::dup(folder);
    DIR *dir = listed < 0 ? nullptr : ::fdopendir(listed);
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        if (QByteArrayView(entry->d_name).startsWith(prefix))
            names.append(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

int flushFolder(int folder) { return sys::retrying([&] { return sys::fsync(folder); }) == 0 ? 0 : errno; }

void removeOwnTemporaryFiles()
{
    QMutexLocker locker(&g_ownFilesMutex);
    for (const QByteArray &path : std::as_const(g_ownFiles))
        ::unlink(path.constData());
    g_ownFiles.clear();
}

} // namespace files
