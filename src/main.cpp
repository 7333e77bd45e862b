// SPDX-License-Identifier: MIT
#include "cli/start.h"

int main(int argc, char *argv[]) { return cli::start(argc, argv); }
