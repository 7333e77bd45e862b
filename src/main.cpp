#include "cli/start.h"

#include <csignal>

int main(int argc, char *argv[])
{
    // A write past the file-size limit then fails as a write error, which a
    // save reports, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return cli::start(argc, argv);
}
