// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <sys/resource.h>

class QWidget;

namespace testsupport {

// Writes bytes to a file, replacing it; fails the calling test on error.
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// Removes a file or an empty folder by its bytes: QDir cannot see names
// that are not UTF-8, so removeRecursively() leaves them behind.
void removeByName(const QString &path);

// The error number an operation raises, 0 when it succeeds.
int errorNumberOf(const std::function<void()> &operation);

// The error an operation raises as "NUMBER: DESCRIPTION", empty when it succeeds.
QString errorOf(const std::function<void()> &operation);

// Simulates a full disk: writes beyond limit bytes fail with "File too large".
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit);
    ~FileSizeLimit();

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

// The output windows compile runs left loaded, oldest first.
QList<QWidget *> outputWindows();

} // namespace testsupport
