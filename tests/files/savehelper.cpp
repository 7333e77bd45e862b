// SPDX-License-Identifier: MIT
// Saves for the tests that need a second process: one run as another user, or
// one stopped in the middle of its saves.
//   savehelper save PATH SOURCE   saves SOURCE's bytes to PATH; on failure prints
//                                 "NUMBER: DESCRIPTION" and exits with 1
//   savehelper loop PATH A B      saves A, B, A, B... to PATH until a signal
//                                 ends it; prints "saving" once the first save
//                                 is done. SIGTERM, SIGINT and SIGHUP let the
//                                 save in progress finish, then end the program
//                                 with 128 + the signal's number.
#include "files/savefile.h"
#include "files/secondname.h"
#include "platform/exitsignals.h"

#include <QCoreApplication>
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

bool save(const QString &path, const QByteArray &bytes)
{
    const files::SaveResult result = files::saveFile({path, bytes, std::nullopt});
    if (result.status == files::SaveResult::Status::Saved)
        return true;
    std::printf("%d: %s\n", result.errorNumber, qPrintable(result.description));
    return false;
}

int saveUntilSignalled(const QString &path, const QByteArray (&texts)[2])
{
    platform::ExitSignals signals;
    int exitSignal = 0;
    QObject::connect(&signals, &platform::ExitSignals::exitRequested, [&](int number) { exitSignal = number; });
    for (int i = 0; exitSignal == 0; ++i) {
        if (!save(path, texts[i % 2]))
            return 1;
        if (i == 0) {
            std::puts("saving");
            std::fflush(stdout);
        }
        QCoreApplication::processEvents();
    }
    files::removeOwnTemporaryFiles();
    return 128 + exitSignal;
}
} // namespace

int main(int argc, char *argv[])
{
    std::signal(SIGXFSZ, SIG_IGN);
    const bool loop = argc == 5 && std::strcmp(argv[1], "loop") == 0;
    if (!loop && !(argc == 4 && std::strcmp(argv[1], "save") == 0))
        return 2;
    QCoreApplication app(argc, argv);
    const QString path = QFile::decodeName(argv[2]);
    const QByteArray texts[2] = {contentOf(argv[3]), loop ? contentOf(argv[4]) : QByteArray()};
    return loop ? saveUntilSignalled(path, texts) : (save(path, texts[0]) ? 0 : 1);
}
