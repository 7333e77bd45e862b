// SPDX-License-Identifier: MIT
#include "platform/apppath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

QString docsFolder()
{
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/zarvo");
    for (const QString &folder : {installed, QStringLiteral(ZARVO_SOURCE_DOCS)}) {
        if (QFileInfo::exists(folder + QStringLiteral("/script-reference.md")))
            return QDir::cleanPath(folder);
    }
    return QString();
}

} // namespace platform
