// SPDX-License-Identifier: MIT
#include "files/statefolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {
constexpr char kProgramFolder[] = "zarvo";
constexpr mode_t kPrivateFolderMode = 0700;
constexpr mode_t kWritableByOthers = S_IWGRP | S_IWOTH;
constexpr int kPathKeyLength = 24; // hexadecimal digits of the hash
// The folders a problem is checked in; the program's folder comes first.
constexpr const char *kSubfolders[] = {"recovery", "temporaries", "locks"};

QByteArray stateHome()
{
    // XDG_STATE_HOME counts only when it is an absolute path.
    const QByteArray configured = qgetenv("XDG_STATE_HOME");
    if (configured.startsWith('/'))
        return configured;
    return QFile::encodeName(QDir::homePath()) + "/.local/state";
}

// Opens the folder above the program's folder (the user's own choice of
// place, links followed), creating it and any missing folder above it.
FileDescriptor openStateHome(const QByteArray &home)
{
    FileDescriptor opened(::open(home.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (opened.isOpen() || errno != ENOENT)
        return opened;
    for (qsizetype slash = home.indexOf('/', 1); slash > 0; slash = home.indexOf('/', slash + 1))
        ::mkdir(home.left(slash).constData(), kPrivateFolderMode);
    ::mkdir(home.constData(), kPrivateFolderMode);
    return FileDescriptor(::open(home.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

QString unsafeReason(const struct stat &status)
{
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("is not a folder");
    if (status.st_uid != ::geteuid())
        return QStringLiteral("belongs to another user");
    if (status.st_mode & kWritableByOthers)
        return QStringLiteral("can be written by other users");
    return {};
}

// Opens the folder name in parent, creating it when missing, and checks it.
// Returns the reason when it must not be used.
QString openChecked(int parent, const char *name, FileDescriptor &folder)
{
    if (::mkdirat(parent, name, kPrivateFolderMode) != 0 && errno != EEXIST)
        return QStringLiteral("cannot be created (%1)").arg(qt_error_string(errno));
    folder = FileDescriptor(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status;
    if (!folder.isOpen() && (errno == ELOOP || errno == ENOTDIR))
        return QStringLiteral("is a link or a file, not a folder");
    if (!folder.isOpen() || ::fstat(folder.get(), &status) != 0)
        return QStringLiteral("cannot be opened (%1)").arg(qt_error_string(errno));
    const QString reason = unsafeReason(status);
    if (!reason.isEmpty())
        folder.close();
    return reason;
}

QString problemSentence(const QByteArray &path, const QString &reason)
{
    return QStringLiteral("the state folder %1 %2").arg(QFile::decodeName(path), reason);
}
} // namespace

StateFolder openStateFolder(const char *name)
{
    StateFolder result;
    const QByteArray home = stateHome();
    const QByteArray program = home + '/' + kProgramFolder;
    result.path = program + '/' + name;
    const FileDescriptor homeFolder = openStateHome(home);
    if (!homeFolder.isOpen()) {
        result.problem = problemSentence(home, QStringLiteral("cannot be opened (%1)").arg(qt_error_string(errno)));
        return result;
    }
    FileDescriptor programFolder;
    QString reason = openChecked(homeFolder.get(), kProgramFolder, programFolder);
    if (!reason.isEmpty()) {
        result.problem = problemSentence(program, reason);
        return result;
    }
    reason = openChecked(programFolder.get(), name, result.fd);
    if (!reason.isEmpty())
        result.problem = problemSentence(result.path, reason);
    return result;
}

QString stateFolderProblem()
{
    for (const char *name : kSubfolders) {
        const StateFolder folder = openStateFolder(name);
        if (!folder.problem.isEmpty()) {
            QString sentence = folder.problem;
            sentence[0] = sentence[0].toUpper();
            return sentence + QStringLiteral(": no recovery copies are kept, and saves that must write in place are "
                                             "refused.");
        }
    }
    return {};
}

QByteArray canonicalFolder(const QByteArray &folder)
{
    char *resolved = ::realpath(folder.constData(), nullptr);
    const QByteArray canonical(resolved);
    std::free(resolved);
    return canonical;
}

QByteArray pathKey(const QByteArray &folder, const QByteArray &name)
{
    QByteArray canonical = canonicalFolder(folder);
    if (canonical.isEmpty())
        return {};
    if (!name.isEmpty())
        canonical += '/' + name;
    return QCryptographicHash::hash(canonical, QCryptographicHash::Sha256).toHex().left(kPathKeyLength);
}

} // namespace files
