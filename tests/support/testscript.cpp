#include "support/testscript.h"

#include "platform/error.h"
#include "toolkit/loadedwindows.h"

#include <QFile>
#include <QWidget>
#include <QTest>
#include <csignal>

namespace testsupport {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        QFAIL(qPrintable(QStringLiteral("cannot write ") + path));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
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
