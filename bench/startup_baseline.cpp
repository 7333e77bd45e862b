// SPDX-License-Identifier: MIT
// The start-up baselines, ending once their window is shown, painted and
// idle. Started by bench_startup.
//   startup_baseline empty        an application with an empty QMainWindow
//   startup_baseline plain FILE   reads FILE and shows it in a QPlainTextEdit
#include "figures.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QPlainTextEdit>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("plain")) {
        QFile file(args.value(2));
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        QPlainTextEdit editor;
        editor.setPlainText(QString::fromUtf8(file.readAll()));
        editor.show();
        bench::quitWhenShownAndIdle(editor);
        return QApplication::exec();
    }
    QMainWindow window;
    window.show();
    bench::quitWhenShownAndIdle(window);
    return QApplication::exec();
}
