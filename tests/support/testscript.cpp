#include "support/testscript.h"

#include "platform/forms.h"
#include "platform/toolkiterror.h"

#include <QFile>
#include <QWidget>
#include <QTest>

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
    } catch (const platform::ToolkitError &error) {
        return error.number();
    }
    return 0;
}

QList<QWidget *> outputWindows()
{
    QList<QWidget *> result;
    for (QWidget *window : platform::loadedWindows()) {
        if (window->objectName() == QLatin1String("wTemplate"))
            result.append(window);
    }
    return result;
}

} // namespace testsupport
