// SPDX-License-Identifier: MIT
// Saves for the tests that need a second process: one run as another user, or
// one killed in the middle of its saves.
//   savehelper save PATH SOURCE   saves SOURCE's bytes to PATH; on failure prints
//                                 "NUMBER: DESCRIPTION" and exits with 1
//   savehelper loop PATH A B      saves A, B, A, B... to PATH until killed;
//                                 prints "saving" once the first save is done
#include "files/safesave.h"
#include "platform/error.h"

#include <QFile>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {
QByteArray contentOf(const char *path)
{
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

int main(int argc, char *argv[])
{
    std::signal(SIGXFSZ, SIG_IGN);
    const bool loop = argc == 5 && std::strcmp(argv[1], "loop") == 0;
    if (!loop && !(argc == 4 && std::strcmp(argv[1], "save") == 0))
        return 2;
    const QString path = QFile::decodeName(argv[2]);
    const QByteArray texts[2] = {contentOf(argv[3]), loop ? contentOf(argv[4]) : QByteArray()};
    try {
        files::writeFileAtomically(path, texts[0]);
        if (!loop)
            return 0;
        std::puts("saving");
        std::fflush(stdout);
        for (int i = 1;; ++i)
            files::writeFileAtomically(path, texts[i % 2]);
    } catch (const platform::Error &error) {
        std::printf("%s\n", error.what());
        return 1;
    }
}
