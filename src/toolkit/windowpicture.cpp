// SPDX-License-Identifier: MIT
#include "toolkit/windowpicture.h"

#include "platform/error.h"
#include "toolkit/outputwindowwidget.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QWidget>

namespace toolkit {

namespace {
constexpr qint64 kMaxPicturePixels = 67108864; // 256 MB at 4 bytes per pixel

void checkPictureSize(QSize size)
{
    if (size.isEmpty())
        platform::raiseError(platform::ErrInvalidPropertyValue, QStringLiteral("The window's client area is empty"));
    if (qint64(size.width()) * size.height() > kMaxPicturePixels)
        platform::raiseError(platform::ErrInvalidPropertyValue,
                             QStringLiteral("A picture of %1 x %2 pixels is larger than %3 pixels")
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(kMaxPicturePixels));
}
} // namespace

QImage clientAreaPicture(QWidget *window, double scale)
{
    if (auto *form = qobject_cast<OutputWindowWidget *>(window))
        window->resize(form->outerSize());
    const QSize size = (QSizeF(window->size()) * scale).toSize();
    checkPictureSize(size);
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        platform::raiseError(platform::ErrOutOfMemory);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::transparent);
    // Layout and polish requests still queued would change what is drawn.
    QCoreApplication::sendPostedEvents();
    window->render(&picture);
    return picture;
}

QByteArray pictureFormatFor(const QString &fileName)
{
    const QByteArray suffix = QFileInfo(fileName).suffix().toLower().toLatin1();
    if (suffix.isEmpty())
        return QByteArrayLiteral("png");
    return QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArray();
}

QString writablePictureFormats()
{
    return QString::fromLatin1(QImageWriter::supportedImageFormats().join(", "));
}

QByteArray encodePicture(const QImage &picture, const QByteArray &format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(picture))
        platform::raiseError(platform::ErrFileAccess, writer.errorString());
    return bytes;
}

} // namespace toolkit
