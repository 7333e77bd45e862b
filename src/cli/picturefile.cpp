// SPDX-License-Identifier: MIT
#include "cli/picturefile.h"

#include "files/posixfile.h"
#include "files/safesave.h"
#include "platform/filenames.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {
const QString kStandardOutput = QStringLiteral("-");

// Into a pipe, a terminal or a device, which cannot seek: write() until
// every byte is taken, each failure raised.
void writeStraight(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            files::raiseSystemError(written < 0 ? errno : EIO);
        data += written;
        left -= written;
    }
}

// A device, FIFO or socket: replacing it with a file would be wrong (and as
// root would take a device node such as /dev/full away).
bool isStream(const QByteArray &path)
{
    struct stat status;
    return ::stat(path.constData(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}
} // namespace

void writePictureFile(const QString &out, const QByteArray &bytes)
{
    if (out == kStandardOutput)
        return writeStraight(STDOUT_FILENO, bytes);
    const QByteArray path = platform::fileNameToBytes(out);
    if (!isStream(path))
        return files::writeFileAtomically(out, bytes);
    files::FileDescriptor fd(::open(path.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen())
        files::raiseSystemError(errno);
    writeStraight(fd.get(), bytes);
    if (const int error = fd.close())
        files::raiseSystemError(error);
}

} // namespace cli
