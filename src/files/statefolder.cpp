// SPDX-License-Identifier: MIT
#include "files/statefolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace files {

namespace {
constexpr auto kProgramFolder = "zarvo";
constexpr mode_t kPrivateFolderMode = 0700;
constexpr int kPathKeyLength = 24; // hexadecimal digits of the hash

QByteArray stateHome()
{
    // XDG_STATE_HOME counts only when it is an absolute path.
    const QByteArray configured = qgetenv("XDG_STATE_HOME");
    if (configured.startsWith('/'))
        return configured;
    return QFile::encodeName(QDir::homePath()) + "/.local/state";
}

// Creates the folder and any missing folder above it, private to the user.
bool makeFolders(const QByteArray &path)
{
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), kPrivateFolderMode);
    return ::mkdir(path.constData(), kPrivateFolderMode) == 0 || errno == EEXIST;
}
} // namespace

QByteArray stateSubfolder(const char *name)
{
    const QByteArray folder = stateHome() + '/' + kProgramFolder + '/' + name;
    return makeFolders(folder) ? folder : QByteArray();
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
