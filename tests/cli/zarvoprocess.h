// SPDX-License-Identifier: MIT
#pragma once

// The built executable run as a process, as the shell-mode tests start it.
// Each test program that includes this defines ZARVO_EXECUTABLE and
// ZARVO_ANSWERING_EXECUTABLE, the same program with an answerer for --run
// windows (answeringzarvo.cpp).

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <functional>

namespace testsupport {

// A borderless window of 320 x 200 pixels and a button cmdOk on it.
inline const QByteArray kWindow = "CreateWindow 10, 10, 320, 200, -, $10, \"Test\"\n";
inline const QByteArray kOkButton = "CreateButton 10, 10, 80, 24, cmdOk, -, \"OK\"\n";

struct Outcome {
    int exitCode = -1; // -1: killed by a signal, or still running after 30 s
    QByteArray out;
    QByteArray err;
};

// The environment of a user without any display.
inline QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    return env;
}

// Off screen, with the answer --run gives its window once it is shown.
inline QProcessEnvironment answering(const QString &answer)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ZARVO_TEST_ANSWER"), answer);
    return env;
}

// childSetup runs in the new process before the program starts, its
// standard descriptors already in place (to close or replace one); input is
// what the program reads on standard input, a pipe.
inline Outcome run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env,
                   const QString &folder = QString(), const std::function<void()> &childSetup = {},
                   const QByteArray &input = {})
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

inline Outcome zarvo(const QStringList &arguments, const QProcessEnvironment &env, const QString &folder = QString(),
                     const std::function<void()> &childSetup = {}, const QByteArray &input = {})
{
    const bool answered = env.contains(QStringLiteral("ZARVO_TEST_ANSWER"));
    return run(QString::fromUtf8(answered ? ZARVO_ANSWERING_EXECUTABLE : ZARVO_EXECUTABLE), arguments, env, folder,
               childSetup, input);
}

} // namespace testsupport
