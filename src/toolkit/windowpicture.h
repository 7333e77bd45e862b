// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QWidget;

namespace toolkit {

// A picture of the window's client area as X11 shows it, scale pixels of the
// picture per pixel of the window: an output window's inside is its whole
// outer size, for the offscreen platform's invented frame of 2 pixels a side
// is first given back to it. Raises 380 for an empty picture or one larger
// than 67,108,864 pixels (256 MB), 7 when there is no memory for it.
QImage clientAreaPicture(QWidget *window, double scale);

// The format Qt writes for a file named so, by its suffix in any letter
// case ("png", "jpg", "bmp", "ppm", "webp" where its plugin is installed...):
// "png" for a name without a suffix, empty for a suffix Qt cannot write.
QByteArray pictureFormatFor(const QString &fileName);
// The formats Qt can write, in lower case, separated by ", ".
QString writablePictureFormats();

// The bytes of a file holding the picture in that format. Raises 75 with
// the writer's reason when it cannot be encoded.
QByteArray encodePicture(const QImage &picture, const QByteArray &format);

} // namespace toolkit
