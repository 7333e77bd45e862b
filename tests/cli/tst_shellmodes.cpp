// SPDX-License-Identifier: MIT
// The shell modes and the command line, end to end: the built executable run
// as a process, its standard output, standard error and exit status.
#include "cli/zarvoprocess.h"
#include "platform/filenames.h"
#include "support/testscript.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testsupport;

namespace {
// rwxr-xr-x, or r-xr-xr-x without the owner's write permission.
bool setFolderMode(const QString &path, bool ownerWrites)
{
    const QFile::Permissions everyone = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser
        | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    return QFile::setPermissions(path, ownerWrites ? everyone | QFile::WriteOwner | QFile::WriteUser : everyone);
}
} // namespace

class TestShellModes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandLine_data();
    void commandLine();
    void check_data();
    void check();
    void scriptFromAPipe_data();
    void scriptFromAPipe();
    void namesThatAreNotUtf8_data();
    void namesThatAreNotUtf8();
    void installedProgramCopiesTheSample_data();
    void installedProgramCopiesTheSample();
    void panelEndsOnSignal_data();
    void panelEndsOnSignal();

private:
    // Writes s.txt; returns its path.
    QString script(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("s.txt"));
        writeFile(path, bytes);
        return path;
    }

    QTemporaryDir m_dir;
};

void TestShellModes::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("display"); // DISPLAY, or NAME=value; empty: none at all
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<bool>("prefixOnly"); // out and err only begin with the expected text

    QTest::newRow("help without a display") << QStringList{"--help"} << "" << 0
                                            << QByteArray("Usage: zarvo [FILE]\n") << QByteArray() << true;
    QTest::newRow("version without a display") << QStringList{"--version"} << "" << 0
                                               << QByteArray("zarvo " ZARVO_VERSION "\n") << QByteArray() << false;
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "" << 2 << QByteArray()
                                    << QByteArray("zarvo: Unknown option 'bogus'.\n"
                                                  "Try 'zarvo --help' for more information.\n")
                                    << false;
    QTest::newRow("run without a display") << QStringList{"--run", "x.txt"} << "" << 3 << QByteArray()
                                           << QByteArray("zarvo: no display found; --run shows a window to answer: "
                                                         "run it in a desktop session, or log in with ssh -X\n")
                                           << false;
    // No X server listens there: Qt, which would abort, is not let to.
    const QByteArray dead = "zarvo: cannot reach the display (DISPLAY=:31999): could not connect to display :31999\n";
    QTest::newRow("run on a dead display") << QStringList{"--run", "x.txt"} << ":31999" << 3 << QByteArray() << dead
                                           << false;
    QTest::newRow("the panel on a dead display") << QStringList{"x.txt"} << ":31999" << 1 << QByteArray() << dead
                                                 << false;
    // The reason after the colon is Qt's, and differs between machines.
    QTest::newRow("run on a Wayland display that is not there")
        << QStringList{"--run", "x.txt"} << "WAYLAND_DISPLAY=wayland-31999" << 3 << QByteArray()
        << QByteArray("zarvo: cannot reach the display (WAYLAND_DISPLAY=wayland-31999): ") << true;
}

void TestShellModes::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, display);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(bool, prefixOnly);

    const QString name = display.contains(u'=') ? display.section(u'=', 0, 0) : QStringLiteral("DISPLAY");
    const QString value = display.section(u'=', -1);
    if (name == QLatin1String("DISPLAY") && !value.isEmpty() && QFile::exists("/tmp/.X11-unix/X" + value.mid(1)))
        QSKIP("an X server listens on this display");
    QProcessEnvironment env = withoutDisplay();
    if (!display.isEmpty())
        env.insert(name, value);
    const Outcome outcome = zarvo(arguments, env, m_dir.path());
    QCOMPARE(outcome.exitCode, exitCode);
    if (prefixOnly) {
        QVERIFY2(outcome.out.startsWith(out), outcome.out.constData());
        QVERIFY2(outcome.err.startsWith(err), outcome.err.constData());
    } else {
        QCOMPARE(outcome.out, out);
        QCOMPARE(outcome.err, err);
    }
}

void TestShellModes::check_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    QTest::newRow("good") << QStringList{"good.txt"} << 0 << QByteArray("good.txt: ok\n") << QByteArray();
    QTest::newRow("#! line skipped, still counted")
        << QStringList{"shebang.txt"} << 1 << QByteArray()
        << QByteArray("shebang.txt:3: error 9: Subscript out of range; CreateButton needs 7 arguments, this line has 2\n");
    QTest::newRow("failing line") << QStringList{"bad.txt"} << 1 << QByteArray()
                                  << QByteArray("bad.txt:2: error 730: Control 'nope' not found\n");
    QTest::newRow("unknown command") << QStringList{"unknown.txt"} << 1 << QByteArray()
                                     << QByteArray("unknown.txt:2: error: unknown command: createWindow; did you mean CreateWindow?\n");
    QTest::newRow("missing") << QStringList{"absent.txt"} << 1 << QByteArray()
                             << QByteArray("absent.txt: error 53: File not found\n");
    QTest::newRow("a folder") << QStringList{"sub"} << 1 << QByteArray()
                              << QByteArray("sub: error 75: Path/File access error\n");
    const QByteArray here = QFile::encodeName(m_dir.path());
    QTest::newRow("a missing picture and folder, by the paths tried")
        << QStringList{"lost.txt", "gone.txt"} << 1 << QByteArray()
        << "lost.txt:2: error 53: File not found; picture not found: " + here + "/none.png\n"
           "gone.txt:2: error 76: Path not found; folder not found: " + here + "/nowhere\n";
    const QByteArray warning = "unlabelled.txt:4: warning: text box txtFree has no label\n";
    QTest::newRow("warnings keep the status") << QStringList{"unlabelled.txt"} << 0
                                              << QByteArray("unlabelled.txt: ok\n") << warning;
    QTest::newRow("--strict: warnings fail") << QStringList{"--strict", "unlabelled.txt", "good.txt"} << 1
                                             << QByteArray("good.txt: ok\n") << warning;
    QTest::newRow("several, every one checked")
        << QStringList{"bad.txt", "good.txt", "absent.txt", "good.txt"} << 1
        << QByteArray("good.txt: ok\ngood.txt: ok\n")
        << QByteArray("bad.txt:2: error 730: Control 'nope' not found\nabsent.txt: error 53: File not found\n");
}

void TestShellModes::check()
{
    QFETCH(QStringList, files);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);

    writeFile(m_dir.filePath("good.txt"), "#!/usr/bin/env -S zarvo --run\n" + kWindow + kOkButton);
    writeFile(m_dir.filePath("shebang.txt"), "#!/usr/bin/env -S zarvo --check\n" + kWindow + "CreateButton 1, 2\n");
    writeFile(m_dir.filePath("bad.txt"), kWindow + "SetCaption nope, \"x\"\n" + kOkButton);
    writeFile(m_dir.filePath("unknown.txt"), kWindow + "createWindow 1, 2\n");
    writeFile(m_dir.filePath("lost.txt"), kWindow + "CreateImage 0, 0, 9, 9, img, -, \"none.png\"\n");
    writeFile(m_dir.filePath("gone.txt"), kWindow + "CreateFilelist 0, 0, 9, 9, fil, -, \"nowhere\"\n");
    writeFile(m_dir.filePath("unlabelled.txt"), kWindow + "CreateLabel 0, 0, 80, 20, lblUser, -, \"User\"\n"
                                                           "CreateTextbox 90, 0, 80, 20, txtUser, -, \"\"\n"
                                                           "CreateTextbox 90, 90, 80, 20, txtFree, -, \"\"\n");
    QDir(m_dir.path()).mkdir("sub");

    const Outcome outcome = zarvo(QStringList{"--check"} + files, withoutDisplay(), m_dir.path());
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, exitCode);
}

void TestShellModes::scriptFromAPipe_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("script"); // on standard input, a pipe
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    const QByteArray good = kWindow + kOkButton;
    QTest::newRow("check -") << QStringList{"--check", "-"} << good << 0 << QByteArray("-: ok\n") << QByteArray();
    QTest::newRow("check /dev/stdin, a pipe") << QStringList{"--check", "/dev/stdin"} << good << 0
                                              << QByteArray("/dev/stdin: ok\n") << QByteArray();
    QTest::newRow("reports name -") << QStringList{"--check", "-"} << kWindow + "SetCaption nope, \"x\"\n" << 1
                                    << QByteArray() << QByteArray("-:2: error 730: Control 'nope' not found\n");
    // Relative paths are taken from the current folder, which holds p.png.
    QTest::newRow("run -, a picture beside") << QStringList{"--run", "-"}
                                             << good + "CreateImage 0, 0, 9, 9, img, -, \"p.png\"\n" << 0
                                             << QByteArray("button='cmdOk'\n") << QByteArray();
}

void TestShellModes::scriptFromAPipe()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, script);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);

    QVERIFY(QImage(2, 2, QImage::Format_RGB32).save(m_dir.filePath("p.png")));
    const Outcome outcome = zarvo(arguments, answering("cmdOk"), m_dir.path(), {}, script);
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, exitCode);
}

void TestShellModes::namesThatAreNotUtf8_data()
{
    QTest::addColumn<QString>("arguments"); // for sh, where \351 is the byte 0xE9
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    const QByteArray folder = QFile::encodeName(m_dir.path()) + "/d\xe9";
    QTest::newRow("check opens the file") << R"sh(--check "$(printf 's\351.txt')" "$(printf 'no\351.txt')")sh" << 1
                                          << QByteArray("s\xe9.txt: ok\n")
                                          << QByteArray("no\xe9.txt: error 53: File not found\n");
    QTest::newRow("run prints the real name") << R"sh(--run "$(printf 'd\351/s.txt')")sh" << 0
                                              << "dirHere='" + folder + "'\nbutton='cmdOk'\n" << QByteArray();
    QTest::newRow("JSON, which is UTF-8, has U+FFFD")
        << R"sh(--run "$(printf 'd\351/s.txt')" --json)sh" << 0
        << R"({"button":"cmdOk","dirHere":")" + folder.chopped(1) + "\xef\xbf\xbd\"}\n" << QByteArray();
}

// Names go from the command line to the file, and back out, as bytes.
void TestShellModes::namesThatAreNotUtf8()
{
    QFETCH(QString, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);

    const QString script = m_dir.filePath(QString::fromUtf16(u"s\xDCE9.txt"));
    const QString folder = m_dir.filePath(QString::fromUtf16(u"d\xDCE9"));
    const auto removeThem = qScopeGuard([&] {
        for (const QString &path : {script, folder + "/s.txt", folder})
            removeByName(path);
    });
    writeFile(script, kWindow + kOkButton);
    QVERIFY(::mkdir(platform::fileNameToBytes(folder).constData(), 0777) == 0 || errno == EEXIST);
    writeFile(folder + "/s.txt", kWindow + "CreateDirlist 0, 40, 200, 100, dirHere, -, \".\"\n" + kOkButton);
    const QString program = QStringLiteral(ZARVO_ANSWERING_EXECUTABLE);
    const Outcome outcome =
        run("/bin/sh", {"-c", "exec \"$0\" " + arguments, program}, answering("cmdOk"), m_dir.path());
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, exitCode);
}

// An installed program keeps its default script in the user's data folder,
// copied from the installed sample on its first start: in a folder its user
// cannot write to (as root every folder is writable, so the program then runs
// as the unprivileged user nobody), and beside an installed sample even where
// it could write.
void TestShellModes::installedProgramCopiesTheSample_data()
{
    QTest::addColumn<bool>("folderWritable");
    QTest::newRow("folder not writable") << false;
    QTest::newRow("writable folder of an installed program") << true;
}

void TestShellModes::installedProgramCopiesTheSample()
{
    QFETCH(bool, folderWritable);
    const QString base = m_dir.filePath(folderWritable ? "writable" : "locked");
    const QString prefix = base + "/prefix";
    const QString data = base + "/data";
    QVERIFY(QDir().mkpath(prefix + "/bin") && QDir().mkpath(prefix + "/share/zarvo") && QDir().mkpath(data));
    QVERIFY(QFile::copy(ZARVO_EXECUTABLE, prefix + "/bin/zarvo"));
    const QByteArray sample = "; the installed sample\n" + kWindow;
    writeFile(prefix + "/share/zarvo/GUI_All.txt", sample);
    writeFile(prefix + "/share/zarvo/zarvo.png", "picture");

    QString program = prefix + "/bin/zarvo";
    QStringList arguments;
    if (folderWritable) {
        // the program runs as this user, in a folder this user can write to
    } else if (geteuid() == 0) {
        const passwd *nobody = getpwnam("nobody");
        if (!nobody)
            QSKIP("running as root and there is no user nobody to run the program as");
        QVERIFY(setFolderMode(m_dir.path(), true));
        QVERIFY(chown(QFile::encodeName(data).constData(), nobody->pw_uid, nobody->pw_gid) == 0);
        arguments = QStringList{"--reuid=nobody", "--regid=" + QString::number(nobody->pw_gid), "--clear-groups",
                                program};
        program = QStringLiteral("setpriv");
    } else {
        QVERIFY(setFolderMode(prefix + "/bin", false));
    }
    QProcessEnvironment env = answering(QString());
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    QProcess panel;
    panel.setProcessEnvironment(env);
    panel.start(program, arguments);
    const QString script = data + "/zarvo/GUI_All.txt";
    QTRY_VERIFY_WITH_TIMEOUT(readFile(script) == sample, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(readFile(data + "/zarvo/zarvo.png"), QByteArray("picture"), 20000);
    QCOMPARE(panel.state(), QProcess::Running);
    panel.kill();
    panel.waitForFinished();
    QVERIFY(!QFile::exists(prefix + "/bin/GUI_All.txt"));
    setFolderMode(prefix + "/bin", true);
}

void TestShellModes::panelEndsOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

// A signal asking the program to end ends the panel the way Quit does, with
// the exit status such a signal gives, and leaves nothing behind.
void TestShellModes::panelEndsOnSignal()
{
    QFETCH(int, signalNumber);
    const QString state = m_dir.filePath(QStringLiteral("state"));
    const QString locks = state + QStringLiteral("/zarvo/locks");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), state);
    QProcess panel;
    panel.setProcessEnvironment(env);
    panel.start(QString::fromUtf8(ZARVO_EXECUTABLE), {script(kWindow)});
    // The panel holds its script's lock once the script is loaded.
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(locks).isEmpty(), 20000);
    QCOMPARE(::kill(pid_t(panel.processId()), signalNumber), 0);
    QVERIFY(panel.waitForFinished(20000));
    QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(panel.exitCode(), 128 + signalNumber);
    QVERIFY(QDir(locks).isEmpty());
}

QTEST_GUILESS_MAIN(TestShellModes)
#include "tst_shellmodes.moc"
