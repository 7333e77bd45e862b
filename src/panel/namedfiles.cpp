// SPDX-License-Identifier: MIT
#include "panel/namedfiles.h"

#include "interpreter/scriptpaths.h"
#include "panel/mainwindow.h"
#include "platform/messagebox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

namespace panel {

namespace {
struct Missing {
    QStringList files;
    QStringList folders;
};

Missing missingBesideNewScript(const QString &script, const QDir &oldFolder, const QDir &newFolder)
{
    Missing missing;
    for (const QString &path : interpreter::relativePathsNamed(script)) {
        const QFileInfo before(oldFolder.filePath(path));
        if (!before.exists() || QFileInfo::exists(newFolder.filePath(path)))
            continue;
        (before.isDir() ? missing.folders : missing.files) << path;
    }
    return missing;
}

bool userAgrees(QWidget *owner, const Missing &missing, const QDir &newFolder)
{
    platform::MessageBox box(QMessageBox::Question, panelTitle(),
                             QStringLiteral("The script names files by paths relative to its folder that are beside "
                                            "the old script but not beside the new one:\n\n")
                                 + missing.files.join(QLatin1Char('\n'))
                                 + QStringLiteral("\n\nCopy them along into ") + newFolder.path()
                                 + QStringLiteral("?"),
                             QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("copyFilesQuestion"));
    if (!missing.folders.isEmpty())
        box.setInformativeText(QStringLiteral("Folders are not copied: ") + missing.folders.join(QStringLiteral(", ")));
    QPushButton *copy = box.addButton(QStringLiteral("Copy"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Don't copy"), QMessageBox::RejectRole);
    box.setDefaultButton(copy);
    box.exec();
    return box.clickedButton() == copy;
}

// Copies each file, its subfolders made first; returns what failed and why.
QStringList copyFiles(const QStringList &paths, const QDir &from, const QDir &to)
{
    QStringList failures;
    for (const QString &path : paths) {
        QFile source(from.filePath(path));
        const QString target = to.filePath(path);
        if (!to.mkpath(QFileInfo(path).path()))
            failures << target + QStringLiteral(": the folder could not be made");
        else if (!source.copy(target))
            failures << target + QStringLiteral(": ") + source.errorString();
    }
    return failures;
}
} // namespace

void offerToCopyNamedFiles(QWidget *owner, const QString &script, const QString &oldFolder, const QString &newFolder)
{
    const QDir from(oldFolder);
    const QDir to(newFolder);
    if (from.canonicalPath() == to.canonicalPath())
        return;
    const Missing missing = missingBesideNewScript(script, from, to);
    if (missing.files.isEmpty() || !userAgrees(owner, missing, to))
        return;
    const QStringList failures = copyFiles(missing.files, from, to);
    if (!failures.isEmpty()) {
        platform::showMessageBox(QStringLiteral("Some files were not copied:\n\n") + failures.join(QLatin1Char('\n')),
                                 platform::MsgCritical, panelTitle(), owner);
    }
}

} // namespace panel
