// SPDX-License-Identifier: MIT
#include "support/testscript.h"

#include "platform/error.h"
#include "platform/filenames.h"
#include "toolkit/loadedwindows.h"

#include <QFile>
#include <QWidget>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace testsupport {

// Files are named by their bytes (platform/filenames.h), so that a test may
// use names that are not UTF-8.
void writeFile(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(platform::fileNameToBytes(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)
        || file.write(bytes) != bytes.size() || !file.flush())
        QFAIL(qPrintable(QStringLiteral("cannot write ") + path));
}

QByteArray readFile(const QString &path)
{
    const int fd = ::open(platform::fileNameToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return {};
    return file.readAll();
}

void removeByName(const QString &path)
{
    const QByteArray name = platform::fileNameToBytes(path);
    if (::unlink(name.constData()) != 0)
        ::rmdir(name.constData());
}

int errorNumberOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const platform::Error &error) {
        return error.number();
    }
    return 0;
}

QString errorOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const platform::Error &error) {
        return QString::number(error.number()) + QStringLiteral(": ") + error.description();
    }
    return {};
}

FileSizeLimit::FileSizeLimit(rlim_t limit)
{
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit reduced = m_saved;
    reduced.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &reduced);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_handler);
}

QList<QWidget *> outputWindows()
{
    QList<QWidget *> result;
    for (QWidget *window : toolkit::loadedWindows()) {
        if (window->objectName() == QLatin1String("wTemplate"))
            result.append(window);
    }
    return result;
}

} // namespace testsupport
