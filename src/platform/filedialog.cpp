// SPDX-License-Identifier: MIT
#include "platform/filedialog.h"

#include "platform/error.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace platform {

namespace {
constexpr qsizetype kMaxFileNameLength = 250;

// QFileDialog's Save As mode would return a name in a folder that does not
// exist; this one refuses it, as the Open mode refuses a missing file.
class ScriptFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override
    {
        const QStringList files = selectedFiles();
        if (acceptMode() == AcceptSave && !files.isEmpty()) {
            const QFileInfo chosen(files.first());
            if (!chosen.isDir() && !chosen.absoluteDir().exists()) {
                QMessageBox::warning(this, windowTitle(),
                                     QDir::toNativeSeparators(chosen.absolutePath())
                                         + QStringLiteral("\nPath does not exist.\nCheck the path and try again."));
                return;
            }
        }
        QFileDialog::accept();
    }
};

// "Scripts\0*.txt;*.bas\0All files\0*.*\0" becomes
// "Scripts (*.txt *.bas);;All files (*.*)"; Qt's own form passes unchanged.
QString toQtFilter(const QString &filter)
{
    if (!filter.contains(QChar(0)))
        return filter;
    const QStringList parts = filter.split(QChar(0));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}
} // namespace

QString showFileDialog(QWidget *owner, int mode, const QString &title, const QString &fileName,
                       const QString &filter, const QString &initialDir, const QString &defaultExt)
{
    if (fileName.size() > kMaxFileNameLength)
        raiseError(ErrInvalidArgument);
    ScriptFileDialog dialog(owner, title, initialDir, toQtFilter(filter));
    if (mode == FileDialogOpen) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    dialog.setDefaultSuffix(defaultExt);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

} // namespace platform
