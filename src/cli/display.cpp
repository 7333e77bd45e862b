// SPDX-License-Identifier: MIT
#include "cli/display.h"

#include "cli/terminal.h"

#include <QList>
#include <cstdlib>

namespace cli {

namespace {
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

struct ConnectionState {
    QtMessageHandler previous = nullptr;
    QList<HeldMessage> held;
    int unreachableStatus = 1;
};

ConnectionState &connectionState()
{
    static ConnectionState state;
    return state;
}

bool isSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

// The variables that name a display, with their values: what was tried.
QString displaysTried()
{
    QStringList named;
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (isSet(name))
            named.append(QString::fromLatin1(name) + QLatin1Char('=') + qEnvironmentVariable(name));
    }
    return named.join(QStringLiteral(", "));
}

void holdWhileConnecting(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    ConnectionState &state = connectionState();
    if (type != QtFatalMsg) {
        state.held.append({type, QByteArray(context.category), message});
        return;
    }
    // Qt's first note says what went wrong ("could not connect to display :9").
    const QString reason = state.held.isEmpty() ? message.section(QLatin1Char('\n'), 0, 0) : state.held.first().text;
    writeError(QStringLiteral("zarvo: cannot reach the display (") + displaysTried() + QStringLiteral("): ") + reason
               + QLatin1Char('\n'));
    std::_Exit(state.unreachableStatus);
}
} // namespace

bool displayMissing()
{
#if defined(Q_OS_LINUX)
    return !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY") && !isSet("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

// --run waits for someone to answer its window: a virtual display that
// nobody sees would wait for ever.
QString noDisplayHint(Mode mode, const char *program)
{
    if (mode == Mode::Run)
        return QStringLiteral("zarvo: no display found; --run shows a window to answer: run it in a desktop "
                              "session, or log in with ssh -X\n");
    return QStringLiteral("zarvo: no display found; start it under a virtual display with: xvfb-run -a ")
        + QString::fromLocal8Bit(program) + QLatin1Char('\n');
}

DisplayConnectionGuard::DisplayConnectionGuard(int unreachableStatus)
{
    ConnectionState &state = connectionState();
    state.unreachableStatus = unreachableStatus;
    state.held.clear();
    state.previous = qInstallMessageHandler(holdWhileConnecting);
}

DisplayConnectionGuard::~DisplayConnectionGuard()
{
    ConnectionState &state = connectionState();
    qInstallMessageHandler(state.previous);
    for (const HeldMessage &message : std::as_const(state.held))
        state.previous(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()),
                       message.text);
    state.held.clear();
}

} // namespace cli
