#include "platform/error.h"
#include "toolkit/controlkinds.h"
#include "toolkit/runbudget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

namespace toolkit {

Picture loadPicture(const QString &path)
{
    // An empty path is no file at all: it gives the empty picture.
    if (path.isEmpty())
        return {};
    // Only a regular file is opened: a FIFO would block the open until a
    // writer came, and a device such as /dev/zero would never end.
    const QFileInfo info(path);
    if (info.isDir())
        platform::raiseError(platform::ErrFileAccess);
    if (info.exists() && !info.isFile())
        platform::raiseError(platform::ErrFileAccess, QStringLiteral("Not a regular file: ") + path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        platform::raiseFileOpenError(info.exists(), info.absoluteDir().exists());
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
    w->setAccessibleName(QFileInfo(picture->path).completeBaseName());
    return true;
}

} // namespace kinds
} // namespace toolkit
