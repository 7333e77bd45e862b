#include "cli/start.h"
#include "cli/terminal.h"

#include <csignal>

int main(int argc, char *argv[])
{
    cli::occupyClosedStandardDescriptors();
    // A reader that went away makes the write of an answer fail, which --run
    // reports, instead of ending the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
    // A write past the file-size limit then fails as a write error, which a
    // save reports, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return cli::start(argc, argv);
}
