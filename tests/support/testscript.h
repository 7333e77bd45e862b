#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace testsupport {

// Writes bytes to a file, replacing it; fails the calling test on error.
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// The error number an operation raises, 0 when it succeeds.
int errorNumberOf(const std::function<void()> &operation);

// The output windows compile runs left loaded, oldest first.
QList<QWidget *> outputWindows();

} // namespace testsupport
