// SPDX-License-Identifier: MIT
#include "files/fileattributes.h"

#include "files/systemcalls.h"

#include <QList>
#include <cerrno>
#include <sys/xattr.h>

namespace files {

namespace {
constexpr mode_t kPermissionBits = 07777;
constexpr int kMaxAttempts = 4; // an attribute may change size between two reads

// Reads a size-then-content pair of xattr calls; none when it fails.
template <typename Read>
std::optional<QByteArray> readSized(Read read)
{
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const ssize_t size = sys::retrying([&] { return read(nullptr, 0); });
        if (size < 0)
            return std::nullopt;
        QByteArray buffer(size, Qt::Uninitialized);
        const ssize_t got = sys::retrying([&] { return read(buffer.data(), buffer.size()); });
        if (got >= 0)
            return buffer.left(got);
        if (errno != ERANGE)
            return std::nullopt;
    }
    return std::nullopt;
}

// Copies every extended attribute (the access control list among them);
// false when one cannot be read or written.
bool copyExtendedAttributes(int fd, const QByteArray &replacedPath)
{
    const std::optional<QByteArray> names = readSized([&](char *names, size_t size) {
        return sys::llistxattr(replacedPath.constData(), names, size);
    });
    if (!names)
        return errno == ENOTSUP; // a file system without attributes has none to lose
    for (const QByteArray &name : names->split('\0')) {
        if (name.isEmpty())
            continue;
        const std::optional<QByteArray> value = readSized([&](char *value, size_t size) {
            return sys::lgetxattr(replacedPath.constData(), name.constData(), value, size);
        });
        if (!value || sys::retrying([&] {
                return sys::fsetxattr(fd, name.constData(), value->constData(), size_t(value->size()), 0);
            }) != 0)
            return false;
    }
    return true;
}
} // namespace

bool carryOverAttributes(int fd, const QByteArray &replacedPath, const struct stat &replaced)
{
    struct stat created;
    if (::fstat(fd, &created) != 0)
        return false;
    if ((created.st_uid != replaced.st_uid || created.st_gid != replaced.st_gid)
        && sys::retrying([&] { return sys::fchown(fd, replaced.st_uid, replaced.st_gid); }) != 0)
        return false;
    // After fchown, which clears the set-user-ID and set-group-ID bits; the
    // access control list comes last, as its mask stands in the group bits.
    if (sys::retrying([&] { return sys::fchmod(fd, replaced.st_mode & kPermissionBits); }) != 0
        || !copyExtendedAttributes(fd, replacedPath))
        return false;
    return ::fstat(fd, &created) == 0 && (created.st_mode & kPermissionBits) == (replaced.st_mode & kPermissionBits);
}

} // namespace files
