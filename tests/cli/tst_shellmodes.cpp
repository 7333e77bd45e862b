// The shell modes and the command line, end to end: the built executable run
// as a process, its standard output, standard error and exit status.
#include "cli/zarvoprocess.h"
#include "platform/filenames.h"
#include "support/testscript.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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
    void render_data();
    void render();
    void renderWrites_data();
    void renderWrites();
    void installedProgramCopiesTheSample_data();
    void installedProgramCopiesTheSample();

private:
    void script(const QByteArray &bytes) { writeFile(m_dir.filePath(QStringLiteral("s.txt")), bytes); }

    QTemporaryDir m_dir;
};

void TestShellModes::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("display"); // DISPLAY; empty: none at all
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
}

void TestShellModes::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, display);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(bool, prefixOnly);

    if (!display.isEmpty() && QFile::exists("/tmp/.X11-unix/X" + display.mid(1)))
        QSKIP("an X server listens on this display");
    QProcessEnvironment env = withoutDisplay();
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
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

    writeFile(m_dir.filePath(QString::fromUtf16(u"s\xDCE9.txt")), kWindow + kOkButton);
    const QString folder = m_dir.filePath(QString::fromUtf16(u"d\xDCE9"));
    QVERIFY(::mkdir(platform::fileNameToBytes(folder).constData(), 0777) == 0 || errno == EEXIST);
    writeFile(folder + "/s.txt", kWindow + "CreateDirlist 0, 40, 200, 100, dirHere, -, \".\"\n" + kOkButton);
    const QString program = QStringLiteral(ZARVO_ANSWERING_EXECUTABLE);
    const Outcome outcome =
        run("/bin/sh", {"-c", "exec \"$0\" " + arguments, program}, answering("cmdOk"), m_dir.path());
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, exitCode);
}

void TestShellModes::render_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("size"); // empty: no picture written
    QTest::addColumn<QByteArray>("err");

    const QByteArray window = kWindow + kOkButton;
    QTest::newRow("client area") << window << QStringList() << QSize(320, 200) << QByteArray();
    QTest::newRow("scale 2") << window << QStringList{"--scale", "2"} << QSize(640, 400) << QByteArray();
    QTest::newRow("scale 0.5") << window << QStringList{"--scale", "0.5"} << QSize(160, 100) << QByteArray();
    // The offscreen platform invents a frame of 2 pixels a side; X11 shows
    // the whole size inside.
    QTest::newRow("a window with a frame") << "CreateWindow 10, 10, 320, 200, -, , \"T\"\n" + kOkButton
                                           << QStringList() << QSize(320, 200) << QByteArray();
    QTest::newRow("failing script") << "#!/bin/false\n" + kWindow + "CreateButton 1, 2\n" << QStringList() << QSize()
                                    << QByteArray("s.txt:3: error 9: Subscript out of range; CreateButton needs 7 arguments, this line has 2\n");
    QTest::newRow("no window") << QByteArray() << QStringList() << QSize()
                               << QByteArray("s.txt: error: the script builds no window\n");
}

void TestShellModes::render()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, options);
    QFETCH(QSize, size);
    QFETCH(QByteArray, err);

    this->script(script);
    const QString picture = m_dir.filePath("out.png");
    QFile::remove(picture);
    const Outcome outcome = zarvo(QStringList{"--render", "s.txt", "-o", picture} + options, withoutDisplay(),
                                  m_dir.path());
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.exitCode, size.isEmpty() ? 1 : 0);
    QCOMPARE(QFile::exists(picture), !size.isEmpty());
    if (size.isEmpty())
        return;
    const QImage image(picture, "PNG");
    QCOMPARE(image.size(), size);
    // The button is drawn: the picture is not one colour.
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    bool drawn = false;
    for (int x = 0; x < image.width() && !drawn; ++x)
        drawn = image.pixel(x, image.height() * 20 / 200) != background;
    QVERIFY(drawn);
}

void TestShellModes::renderWrites_data()
{
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("trouble"); // "", "closed", "full device", "full disk"
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err");   // the start of standard error
    QTest::addColumn<QByteArray>("magic"); // how the picture begins; empty: OUT is as it was

    const QByteArray png("\x89PNG\r\n\x1a\n");
    QTest::newRow("jpg by its suffix") << "p.JPG" << "" << 0 << QByteArray() << QByteArray("\xff\xd8\xff");
    QTest::newRow("bmp") << "p.bmp" << "" << 0 << QByteArray() << QByteArray("BM");
    QTest::newRow("ppm") << "p.ppm" << "" << 0 << QByteArray() << QByteArray("P6\n");
    QTest::newRow("no suffix: PNG") << "p" << "" << 0 << QByteArray() << png;
    QTest::newRow("-: PNG on standard output") << "-" << "" << 0 << QByteArray() << png;
    QTest::newRow("an unknown suffix") << "p.xyz" << "" << 2
                                       << QByteArray("zarvo: p.xyz: no picture format has this suffix; Qt writes ")
                                       << QByteArray();
    QTest::newRow("a full device") << "full" << "full device" << 1
                                   << QByteArray("full: error 75: No space left on device\n") << QByteArray();
    QTest::newRow("a full disk keeps the old picture") << "p.png" << "full disk" << 1
                                                       << QByteArray("p.png: error 75: File too large\n")
                                                       << QByteArray();
    QTest::newRow("standard output closed") << "-" << "closed" << 1
                                            << QByteArray("-: error 75: Bad file descriptor\n") << QByteArray();
}

// OUT holds the whole new picture or what it held before, and a failure
// leaves nothing else behind.
void TestShellModes::renderWrites()
{
    QFETCH(QString, out);
    QFETCH(QString, trouble);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);
    QFETCH(QByteArray, magic);

    QTemporaryDir folder;
    writeFile(folder.filePath("s.txt"), kWindow + kOkButton);
    const QByteArray old = "the old picture";
    if (trouble == "full device") {
        // A twin of /dev/full: a program that took the device's place would
        // take only this one.
        if (::mknod(QFile::encodeName(folder.filePath(out)).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("no device node can be made here (not root)");
    } else if (out != "-") {
        writeFile(folder.filePath(out), old);
    }
    const std::function<void()> childSetup = [trouble] {
        if (trouble == "closed")
            ::close(STDOUT_FILENO);
        const rlimit small{1024, 1024};
        if (trouble == "full disk")
            ::setrlimit(RLIMIT_FSIZE, &small);
    };
    const Outcome outcome = zarvo({"--render", "s.txt", "-o", out, "--scale", "3"}, withoutDisplay(),
                                  folder.path(), childSetup);
    if (exitCode == 2)
        QVERIFY2(outcome.err.startsWith(err), outcome.err.constData());
    else
        QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.exitCode, exitCode);
    const QStringList left = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot
                                                           | QDir::System, QDir::Name);
    const QStringList expected = out == "-" ? QStringList{"s.txt"} : QStringList{out, "s.txt"};
    QCOMPARE(left, expected);
    if (trouble == "full device")
        return; // reading it would never end
    const QByteArray written = out == "-" ? outcome.out : readFile(folder.filePath(out));
    if (magic.isEmpty())
        QCOMPARE(written, out == "-" ? QByteArray() : old);
    QVERIFY2(written.startsWith(magic), written.left(16).toHex().constData());
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

QTEST_GUILESS_MAIN(TestShellModes)
#include "tst_shellmodes.moc"
