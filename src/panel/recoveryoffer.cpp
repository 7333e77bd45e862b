// SPDX-License-Identifier: MIT
#include "panel/recoveryoffer.h"

#include "files/recovery.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "platform/messagebox.h"

#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace panel {

namespace {
// Restore or Discard, nothing else: a copy left undecided would be replaced
// by the next save that writes in place. Restore puts the copy's text into
// the editor as an edit, which autosave then saves like any other.
void askAboutRecoveryCopy(MainWindow &window)
{
    const QString path = window.document().path();
    const std::optional<QByteArray> copy = files::pendingRecoveryCopy(path);
    if (!copy)
        return;
    platform::MessageBox box(QMessageBox::Warning, panelTitle(),
                             QStringLiteral("A save into ") + path
                                 + QStringLiteral(" was cut short. A recovery copy holds the text it was writing.\n"
                                                  "Restore that text into the editor?"),
                             QMessageBox::NoButton, &window);
    box.setObjectName(QStringLiteral("recoveryQuestion"));
    QPushButton *restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
    // Return, and closing the box, leave the editor and the file as they are.
    QPushButton *discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(discard);
    box.setEscapeButton(discard);
    box.exec();
    if (box.clickedButton() == restore) {
        window.document().restoreRecoveryCopy(*copy);
        window.setStatus(QStringLiteral("Recovered text restored into the editor. Ctrl+Z takes it back."));
    } else {
        files::discardRecoveryCopy(path);
        window.setStatus(QStringLiteral("Recovery copy discarded."));
    }
}
} // namespace

void offerRecoveryCopy(MainWindow &window)
{
    if (!files::pendingRecoveryCopy(window.document().path()))
        return;
    window.setStatus(QStringLiteral("A recovery copy of ") + window.document().path()
                     + QStringLiteral(" holds text an interrupted save was writing."));
    QPointer<MainWindow> guard(&window);
    QTimer::singleShot(0, &window, [guard] {
        if (guard)
            askAboutRecoveryCopy(*guard);
    });
}

} // namespace panel
