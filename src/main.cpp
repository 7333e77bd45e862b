#include "panel/mainwindow.h"

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
// Without a display Qt would abort with a long plugin message; say what to do.
bool displayMissing()
{
#if defined(Q_OS_LINUX)
    const auto unset = [](const char *name) {
        const char *value = std::getenv(name);
        return !value || !*value;
    };
    return unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("QT_QPA_PLATFORM");
#else
    return false;
#endif
}
} // namespace

int main(int argc, char *argv[])
{
    std::signal(SIGXFSZ, SIG_IGN); // a write past the file-size limit then fails as a write error
    if (displayMissing()) {
        std::fprintf(stderr, "zarvo: no display found; start it under a virtual display with: xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zarvo"));
    QApplication::setApplicationVersion(QStringLiteral(ZARVO_VERSION));
    panel::MainWindow window;
    window.show();
    return app.exec();
}
