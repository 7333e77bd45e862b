// SPDX-License-Identifier: MIT
#include "platform/defaultscript.h"

#include "platform/apppath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

namespace {
const QString kScriptName = QStringLiteral("GUI_All.txt");
const QString kPictureName = QStringLiteral("zarvo.png");
// Where an installed program keeps its sample, from the executable's folder.
const QString kInstalledSampleFolder = QStringLiteral("../share/zarvo");

// Copies a sample file unless the target exists. The copy must be the user's
// to edit, whatever the installed file's mode.
void copySampleFile(const QDir &from, const QDir &to, const QString &name)
{
    const QString target = to.filePath(name);
    if (QFileInfo::exists(target) || !QFile::copy(from.filePath(name), target))
        return;
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
}
} // namespace

QString defaultScriptPath()
{
    const QString programFolder = appPath();
    const QDir sample(QDir(programFolder).filePath(kInstalledSampleFolder));
    // Installed: beside an installed sample (where root, or the user of a
    // prefix in their home, could still write), or in a folder its user
    // cannot write to.
    const bool installed = QFileInfo(sample.filePath(kScriptName)).isFile() || !QFileInfo(programFolder).isWritable();
    if (!installed)
        return joinPath(programFolder, kScriptName);

    const QDir dataFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString script = dataFolder.filePath(kScriptName);
    if (!QFileInfo::exists(script) && dataFolder.mkpath(QStringLiteral("."))) {
        copySampleFile(sample, dataFolder, kScriptName);
        copySampleFile(sample, dataFolder, kPictureName);
    }
    return QDir::toNativeSeparators(script);
}

} // namespace platform
