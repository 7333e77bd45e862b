#pragma once

#include <QByteArray>
#include <QString>

namespace testsupport {

// Writes bytes to a file, replacing it; fails the calling test on error.
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

} // namespace testsupport
