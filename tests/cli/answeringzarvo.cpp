// SPDX-License-Identifier: MIT
// The program as tests run it as a process: the same start, with the answer
// to give a --run window taken from ZARVO_TEST_ANSWER (a button's name,
// ":escape" or ":close").
#include "cli/shellmodes.h"
#include "cli/start.h"
#include "toolkit/outputdialog.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    const QString answer = qEnvironmentVariable("ZARVO_TEST_ANSWER");
    if (!answer.isEmpty())
        cli::setDialogAnswerer([answer](toolkit::OutputDialog &dialog) {
            if (!dialog.answer(answer))
                std::fprintf(stderr, "zarvo: the window has no button named %s\n", qPrintable(answer));
        });
    return cli::start(argc, argv);
}
