#include "platform/controlkinds.h"
#include "platform/toolkiterror.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

namespace platform {

Picture loadPicture(const QString &path)
{
    // An empty path is no file at all: it gives the empty picture.
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        raiseFileOpenError(path);
    // The format is recognised from the content, whatever the file is called.
    QImageReader reader(&file);
    QImage image;
    if (!reader.read(&image)) {
        if (file.error() != QFileDevice::NoError)
            raiseError(ErrFileAccess);
        raiseError(ErrInvalidPicture);
    }
    return Picture{QPixmap::fromImage(std::move(image))};
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
        raiseError(ErrTypeMismatch);
    static_cast<QLabel *>(w)->setPixmap(picture->pixmap);
    return true;
}

} // namespace kinds
} // namespace platform
