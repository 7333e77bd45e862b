// SPDX-License-Identifier: MIT
#include "platform/exitsignals.h"

#include <QList>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {
constexpr std::array<int, 3> kExitSignals = {SIGTERM, SIGINT, SIGHUP};

// Shared by every ExitSignals object: the pipe the handler writes into and
// the actions the signals had before.
int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_relayed = 0;
std::array<struct sigaction, kExitSignals.size()> g_previous;
QList<ExitSignals *> g_relays;

void onExitSignal(int signalNumber)
{
    if (g_relayed) {
        ::signal(signalNumber, SIG_DFL);
        ::raise(signalNumber);
        return;
    }
    g_relayed = 1;
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = savedErrno;
}

void installHandlers()
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onExitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kExitSignals.size(); ++i)
        ::sigaction(kExitSignals[i], &action, &g_previous[i]);
}

void removeHandlers()
{
    if (g_pipe[0] < 0)
        return;
    for (size_t i = 0; i < kExitSignals.size(); ++i)
        ::sigaction(kExitSignals[i], &g_previous[i], nullptr);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
    g_relayed = 0;
}
} // namespace

ExitSignals::ExitSignals(QObject *parent) : QObject(parent)
{
    if (g_relays.isEmpty())
        installHandlers();
    g_relays.append(this);
    if (g_pipe[0] < 0)
        return; // no pipe: the signals keep their own actions
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ExitSignals::readSignals);
}

ExitSignals::~ExitSignals()
{
    g_relays.removeOne(this);
    delete m_notifier;
    if (g_relays.isEmpty())
        removeHandlers();
}

// Every object hears every signal, whichever of them read it.
void ExitSignals::readSignals()
{
    unsigned char number = 0;
    while (::read(g_pipe[0], &number, 1) == 1) {
        const QList<ExitSignals *> relays = g_relays;
        for (ExitSignals *relay : relays)
            Q_EMIT relay->exitRequested(number);
    }
}

} // namespace platform
