// SPDX-License-Identifier: MIT
#include "platform/error.h"
#include "platform/filenames.h"
#include "toolkit/controlkinds.h"
#include "toolkit/runbudget.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace toolkit {

namespace {
// Only a regular file is read: a FIFO would block until a writer came, and a
// device such as /dev/zero would never end. The file is named by its bytes
// (platform/filenames.h), whatever they are.
int openRegularFile(const QString &path)
{
    const QByteArray name = platform::fileNameToBytes(path);
    struct stat status;
    const bool exists = ::stat(name.constData(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode))
        platform::raiseError(platform::ErrFileAccess);
    if (exists && !S_ISREG(status.st_mode))
        platform::raiseError(platform::ErrFileAccess, QStringLiteral("Not a regular file: ") + path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        platform::raiseFileOpenError(name, errno);
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        platform::raiseError(platform::ErrFileAccess, QStringLiteral("Not a regular file: ") + path);
    }
    return fd;
}
} // namespace

Picture loadPicture(const QString &path)
{
    // An empty path is no file at all: it gives the empty picture.
    if (path.isEmpty())
        return {};
    QFile file;
    file.open(openRegularFile(path), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    // The format is recognised from the content, whatever the file is called.
    QImageReader reader(&file);
    QImage image;
    if (!reader.read(&image)) {
        if (file.error() != QFileDevice::NoError)
            platform::raiseError(platform::ErrFileAccess);
        platform::raiseError(platform::ErrInvalidPicture);
    }
    return Picture{QPixmap::fromImage(std::move(image)), path};
}

namespace kinds {

QWidget *makeImage(QWidget *parent)
{
    auto *image = new QLabel(parent);
    image->hide();
    // The picture is drawn at its own size from the top-left corner; the
    // control's size only clips it.
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setScaledContents(false);
    return image;
}

bool setImageContent(QWidget *w, const QString &property, const PropertyValue &value)
{
    if (property != QLatin1String("Picture"))
        return false;
    const auto *picture = std::get_if<Picture>(&value);
    if (!picture)
        platform::raiseError(platform::ErrTypeMismatch);
    const QPixmap &pixmap = picture->pixmap;
    chargeRunMemory(w, qint64(pixmap.width()) * pixmap.height() * pixmap.depth() / 8);
    static_cast<QLabel *>(w)->setPixmap(pixmap);
    // The name a screen reader gives the image unless a tool tip names it.
    w->setAccessibleName(platform::visibleFileName(QFileInfo(picture->path).completeBaseName()));
    return true;
}

} // namespace kinds
} // namespace toolkit
