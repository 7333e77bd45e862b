#pragma once

#include <QString>

class QWidget;

namespace toolkit {

// Writes a PNG picture of the window's client area, scale pixels of the
// picture per pixel of the window. Raises 380 for a picture larger than
// 67,108,864 pixels (256 MB) and 75 when the file cannot be written.
void saveClientAreaPicture(QWidget *window, double scale, const QString &pngPath);

} // namespace toolkit
