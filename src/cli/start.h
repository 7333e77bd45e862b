#pragma once

namespace cli {

// Reads the command line, starts the mode it asks for and returns the exit
// status: the control panel, or one of the shell modes.
int start(int argc, char *argv[]);

} // namespace cli
