// SPDX-License-Identifier: MIT
// The program as tests run it as a process: the same start, with the answer
// to give a --run window taken from ZARVO_TEST_ANSWER (a button's name,
// ":escape" or ":close").
#include "cli/shellmodes.h"
#include "cli/start.h"
#include "toolkit/classids.h"
#include "toolkit/controlvalues.h"
#include "toolkit/outputdialog.h"
#include "toolkit/outputwindowwidget.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdio>

namespace {
// Answers the window as a user would: clicks the button of that name,
// presses Escape (":escape") or uses the close box (":close"). Returns false
// when the window has no button of that name; it is then closed by the
// close box.
bool answer(QWidget *window, const QString &how)
{
    if (!window)
        return false;
    if (how == QLatin1String(":escape")) {
        QWidget *focus = window->focusWidget();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(focus ? focus : window, &escape);
        return true;
    }
    if (how != QLatin1String(":close")) {
        for (const toolkit::NamedControl &control : toolkit::controlsInOrder(window)) {
            if (control.classId == QLatin1String(toolkit::classid::CommandButton)
                && toolkit::sameControlName(control.name, how)) {
                static_cast<QAbstractButton *>(control.widget)->click();
                return true;
            }
        }
    }
    window->close();
    return how == QLatin1String(":close");
}
} // namespace

int main(int argc, char *argv[])
{
    const QString how = qEnvironmentVariable("ZARVO_TEST_ANSWER");
    if (!how.isEmpty())
        cli::setDialogAnswerer([how](toolkit::OutputDialog &dialog) {
            if (!answer(dialog.window(), how))
                std::fprintf(stderr, "zarvo: the window has no button named %s\n", qPrintable(how));
        });
    return cli::start(argc, argv);
}
