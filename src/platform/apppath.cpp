#include "platform/apppath.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

QString appPath()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString joinPath(const QString &folder, const QString &fileName)
{
    if (folder.isEmpty())
        return fileName;
    const QChar sep = QDir::separator();
    if (folder.endsWith(sep) || folder.endsWith(QLatin1Char('/')))
        return folder + fileName;
    return folder + sep + fileName;
}

} // namespace platform
