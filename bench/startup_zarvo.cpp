// SPDX-License-Identifier: MIT
// Zarvo's own start, as the program runs it (the command line, the control
// panel on the script given), ending once the panel is shown, painted and
// idle. Started by bench_startup.
#include "cli/start.h"
#include "figures.h"

#include <csignal>

int main(int argc, char *argv[])
{
    std::signal(SIGXFSZ, SIG_IGN);
    return cli::start(argc, argv, [](QWidget &panel) { bench::quitWhenShownAndIdle(panel); });
}
