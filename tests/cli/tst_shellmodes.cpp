// The shell modes and the command line, end to end: the built executable run
// as a process, its standard output, standard error and exit status.
#include "support/testscript.h"

#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <pwd.h>
#include <unistd.h>

using testsupport::readFile;
using testsupport::writeFile;

namespace {
struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

const QByteArray kWindow = "CreateWindow 10, 10, 320, 200, -, $10, \"Test\"\n";
const QByteArray kOkButton = "CreateButton 10, 10, 80, 24, cmdOk, -, \"OK\"\n";

// The environment of a user without any display.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    return env;
}

// Off screen, with the answer --run gives its window once it is shown.
QProcessEnvironment answering(const QString &answer)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ZARVO_TEST_ANSWER"), answer);
    return env;
}

Outcome run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env,
            const QString &folder = QString())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// rwxr-xr-x, or r-xr-xr-x without the owner's write permission.
bool setFolderMode(const QString &path, bool ownerWrites)
{
    const QFile::Permissions everyone = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser
        | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    return QFile::setPermissions(path, ownerWrites ? everyone | QFile::WriteOwner | QFile::WriteUser : everyone);
}

Outcome zarvo(const QStringList &arguments, const QProcessEnvironment &env, const QString &folder = QString())
{
    const bool answered = env.contains(QStringLiteral("ZARVO_TEST_ANSWER"));
    return run(QString::fromUtf8(answered ? ZARVO_ANSWERING_EXECUTABLE : ZARVO_EXECUTABLE), arguments, env, folder);
}
} // namespace

class TestShellModes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandLine_data();
    void commandLine();
    void runAnswers_data();
    void runAnswers();
    void hostileValuesRoundTrip_data();
    void hostileValuesRoundTrip();
    void check_data();
    void check();
    void render_data();
    void render();
    void installedProgramCopiesTheSample_data();
    void installedProgramCopiesTheSample();
    void panelEndsOnSignal_data();
    void panelEndsOnSignal();

private:
    QString script(const QByteArray &bytes);

    QTemporaryDir m_dir;
};

QString TestShellModes::script(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("s.txt"));
    writeFile(path, bytes);
    return path;
}

void TestShellModes::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<bool>("prefixOnly"); // out and err only begin with the expected text

    QTest::newRow("help without a display") << QStringList{"--help"} << false << 0
                                            << QByteArray("Usage: zarvo [FILE]\n") << QByteArray() << true;
    QTest::newRow("version without a display") << QStringList{"--version"} << false << 0
                                               << QByteArray("zarvo " ZARVO_VERSION "\n") << QByteArray() << false;
    QTest::newRow("unknown option") << QStringList{"--bogus"} << false << 2 << QByteArray()
                                    << QByteArray("zarvo: Unknown option 'bogus'.\n"
                                                  "Try 'zarvo --help' for more information.\n")
                                    << false;
    QTest::newRow("run without a display") << QStringList{"--run", "x.txt"} << false << 3 << QByteArray()
                                           << QByteArray("zarvo: no display found; start it under") << true;
}

void TestShellModes::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(bool, prefixOnly);

    const Outcome outcome = zarvo(arguments, display ? answering(QString()) : withoutDisplay());
    QCOMPARE(outcome.exitCode, exitCode);
    if (prefixOnly) {
        QVERIFY2(outcome.out.startsWith(out), outcome.out.constData());
        QVERIFY2(outcome.err.startsWith(err), outcome.err.constData());
    } else {
        QCOMPARE(outcome.out, out);
        QCOMPARE(outcome.err, err);
    }
}

void TestShellModes::runAnswers_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    // The example of docs/shell-mode.md.
    const QByteArray login = readFile(QStringLiteral(ZARVO_SOURCE_DIR "/docs/examples/login.zarvo"));
    const QByteArray values = "txtUser=''\ncboServer='eu.example.org'\nchkRemember='0'\n";
    const QStringList plain;
    QTest::newRow("a button closes") << login << plain << "cmdOk" << 0 << values + "button='cmdOk'\n" << QByteArray();
    QTest::newRow("any button closes") << login << plain << "cmdCancel" << 0 << values + "button='cmdCancel'\n"
                                       << QByteArray();
    QTest::newRow("Escape") << login << plain << ":escape" << 1 << values + "button=''\n" << QByteArray();
    QTest::newRow("close box") << login << plain << ":close" << 1 << values + "button=''\n" << QByteArray();
    QTest::newRow("json") << login << QStringList{"--json"} << "cmdOk" << 0
                          << QByteArray(R"({"button":"cmdOk","cboServer":"eu.example.org","chkRemember":false,)"
                                        R"("txtUser":""})" "\n")
                          << QByteArray();
    QTest::newRow("a window without CreateWindow is shown") << kOkButton << plain << "cmdOk" << 0
                                                            << QByteArray("button='cmdOk'\n") << QByteArray();
    QTest::newRow("failing line") << kWindow + "SetCaption nope, \"x\"\n" << plain << "cmdOk" << 2 << QByteArray()
                                  << QByteArray("s.txt:2: error 730: Control 'nope' not found\n");
    QTest::newRow("unknown command") << "\n" + kWindow + "Bogus 1\n" << plain << "cmdOk" << 2 << QByteArray()
                                     << QByteArray("s.txt:3: error: unknown command: Bogus\n");
    QTest::newRow("no window") << QByteArray("; nothing\n") << plain << "cmdOk" << 2 << QByteArray()
                               << QByteArray("s.txt: error: the script builds no window\n");
    QTest::newRow("a control named button") << kOkButton + "CreateTextbox 0, 0, 9, 9, button, -, \"x\"\n" << plain
                                            << "cmdOk" << 2 << QByteArray()
                                            << QByteArray("s.txt: error: a control named 'button' would hide which "
                                                          "button closed the window\n");
}

void TestShellModes::runAnswers()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, options);
    QFETCH(QString, answer);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);

    this->script(script);
    const Outcome outcome = zarvo(QStringList{"--run", "s.txt"} + options, answering(answer), m_dir.path());
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.exitCode, exitCode);
}

void TestShellModes::hostileValuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("single quote") << "it's";
    QTest::newRow("an escaped quote already") << "'\\''";
    QTest::newRow("double quotes and backslash") << "say \"hi\" \\ \\n";
    QTest::newRow("newlines, one at the end") << "two\nlines\n";
    QTest::newRow("command substitution") << "$(touch pwned)";
    QTest::newRow("backticks and variables") << "`touch pwned` $HOME ${x:-y}";
    QTest::newRow("non-ASCII") << "Grüße ✓ 日本 🙂";
}

// A folder list on the script's own folder shows that folder: a folder named
// with the value carries any character a file name can hold to the output.
void TestShellModes::hostileValuesRoundTrip()
{
    QFETCH(QString, value);
    const QString folder = m_dir.filePath(value);
    QVERIFY(QDir().mkpath(folder));
    writeFile(folder + "/s.txt", kWindow + "CreateDirlist 0, 40, 200, 100, dirHere, -, \".\"\n" + kOkButton);

    const Outcome shell = zarvo({"--run", folder + "/s.txt"}, answering("cmdOk"), m_dir.path());
    QCOMPARE(shell.exitCode, 0);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("out"), QString::fromUtf8(shell.out));
    const Outcome evaluated = run(QStringLiteral("/bin/sh"),
                                  {"-c", R"(eval "$out"; printf %s "$dirHere"; printf '|%s' "$button")"}, env,
                                  m_dir.path());
    QCOMPARE(evaluated.err, QByteArray());
    QCOMPARE(QString::fromUtf8(evaluated.out), folder + "|cmdOk");
    QVERIFY(!QFile::exists(m_dir.filePath("pwned")));

    const Outcome json = zarvo({"--run", folder + "/s.txt", "--json"}, answering("cmdOk"), m_dir.path());
    QCOMPARE(QJsonDocument::fromJson(json.out).object().value("dirHere").toString(), folder);
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
    writeFile(m_dir.filePath("unlabelled.txt"), kWindow + "CreateLabel 0, 0, 80, 20, lblUser, -, \"User\"\n"
                                                           "CreateTextbox 90, 0, 80, 20, txtUser, -, \"\"\n"
                                                           "CreateTextbox 90, 90, 80, 20, txtFree, -, \"\"\n");
    QDir(m_dir.path()).mkdir("sub");

    const Outcome outcome = zarvo(QStringList{"--check"} + files, withoutDisplay(), m_dir.path());
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
