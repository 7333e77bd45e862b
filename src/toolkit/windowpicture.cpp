#include "toolkit/windowpicture.h"

#include "platform/error.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QWidget>

namespace toolkit {

namespace {
constexpr qint64 kMaxPicturePixels = 67108864; // 256 MB at 4 bytes per pixel
} // namespace

void saveClientAreaPicture(QWidget *window, double scale, const QString &pngPath)
{
    const QSize size = (QSizeF(window->size()) * scale).toSize();
    if (size.isEmpty())
        platform::raiseError(platform::ErrInvalidPropertyValue, QStringLiteral("The window's client area is empty"));
    if (qint64(size.width()) * size.height() > kMaxPicturePixels)
        platform::raiseError(platform::ErrInvalidPropertyValue, QStringLiteral("A picture of %1 x %2 pixels is larger than %3 pixels")
                                                .arg(size.width())
                                                .arg(size.height())
                                                .arg(kMaxPicturePixels));
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        platform::raiseError(platform::ErrOutOfMemory);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::transparent);
    // Layout and polish requests still queued would change what is drawn.
    QCoreApplication::sendPostedEvents();
    window->render(&picture);
    QImageWriter writer(pngPath, "png");
    if (!writer.write(picture))
        platform::raiseError(platform::ErrFileAccess, writer.errorString());
}

} // namespace toolkit
