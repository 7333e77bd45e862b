// SPDX-License-Identifier: MIT
// What --run prints for eval and for JSON readers, end to end: the built
// executable run as a process, its output read by real shells and parsers.
#include "cli/zarvoprocess.h"
#include "support/testscript.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

using namespace testsupport;

namespace {
QByteArray textBox(const QByteArray &name, const QByteArray &text = "/tmp/x")
{
    return "CreateTextbox 0, 40, 90, 20, " + name + ", -, \"" + text + "\"\n";
}

// Empty when Python's strict reader takes the JSON text and every string in
// it is Unicode that UTF-8 can hold; else what Python says.
QByteArray strictJsonError(const QByteArray &json)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {"-c", "import json, sys\n"
                        "value = json.loads(sys.stdin.buffer.read().decode('utf-8', 'strict'))\n"
                        "json.dumps(value, ensure_ascii=False).encode('utf-8', 'strict')\n"});
    python.write(json);
    python.closeWriteChannel();
    if (!python.waitForFinished(30000) || python.exitStatus() != QProcess::NormalExit)
        return "python3 did not run";
    return python.exitCode() == 0 ? QByteArray() : python.readAllStandardError();
}
} // namespace

class TestRunAnswers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runAnswers_data();
    void runAnswers();
    void hostileValuesRoundTrip_data();
    void hostileValuesRoundTrip();
    void evalLeavesTheShellAlone_data();
    void evalLeavesTheShellAlone();
    void unwritableAnswer_data();
    void unwritableAnswer();

private:
    void script(const QByteArray &bytes) { writeFile(m_dir.filePath(QStringLiteral("s.txt")), bytes); }

    QTemporaryDir m_dir;
};

void TestRunAnswers::runAnswers_data()
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

    const QByteArray refused = "' would set a variable the shell or the dynamic loader reads; rename it or use "
                               "--prefix\n";
    const QByteArray path = kWindow + textBox("PATH") + kOkButton;
    QTest::newRow("PATH refused") << path << plain << "cmdOk" << 2 << QByteArray()
                                  << "s.txt:2: error: the control 'PATH" + refused;
    QTest::newRow("LD_ in any letter case") << kWindow + kOkButton + textBox("ld_Preload") << plain << "cmdOk" << 2
                                            << QByteArray() << "s.txt:3: error: the control 'ld_Preload" + refused;
    QTest::newRow("zsh's path") << kWindow + textBox("path") + kOkButton << plain << "cmdOk" << 2 << QByteArray()
                                << "s.txt:2: error: the control 'path" + refused;
    QTest::newRow("a name in the environment's style") << kWindow + textBox("TXT_USER2") + kOkButton << plain
                                                       << "cmdOk" << 2 << QByteArray()
                                                       << "s.txt:2: error: the control 'TXT_USER2" + refused;
    QTest::newRow("a label named PATH prints nothing")
        << kWindow + "CreateLabel 0, 0, 9, 9, PATH, -, \"x\"\n" + kOkButton << plain << "cmdOk" << 0
        << QByteArray("button='cmdOk'\n") << QByteArray();
    QTest::newRow("--prefix: every name, button too") << path << QStringList{"--prefix", "f_"} << "cmdOk" << 0
                                                      << QByteArray("f_PATH='/tmp/x'\nf_button='cmdOk'\n")
                                                      << QByteArray();
    QTest::newRow("a prefix that spells PATH with a name")
        << kWindow + textBox("ATH") + kOkButton << QStringList{"--prefix", "P"} << "cmdOk" << 2 << QByteArray()
        << QByteArray("s.txt:2: error: the control 'ATH' would set 'PATH', a variable the shell or the dynamic loader "
                      "reads; rename it or choose another --prefix\n");
    QTest::newRow("json takes every name") << path << QStringList{"--json"} << "cmdOk" << 0
                                           << QByteArray(R"({"PATH":"/tmp/x","button":"cmdOk"})" "\n") << QByteArray();
    // A closing quote left out: the quotes' place takes the emoji's second half.
    const QByteArray halfEmoji = kWindow + textBox("txtA", "a\xf0\x9f\x99\x82").chopped(2) + "\n" + kOkButton;
    QTest::newRow("json: half a character becomes U+FFFD")
        << halfEmoji << QStringList{"--json"} << "cmdOk" << 0
        << QByteArray("{\"button\":\"cmdOk\",\"txtA\":\"a\xef\xbf\xbd\"}\n") << QByteArray();
    QTest::newRow("shell: half a character becomes U+FFFD") << halfEmoji << plain << "cmdOk" << 0
                                                             << QByteArray("txtA='a\xef\xbf\xbd'\nbutton='cmdOk'\n")
                                                             << QByteArray();
}

void TestRunAnswers::runAnswers()
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
    if (options.contains("--json"))
        QCOMPARE(strictJsonError(outcome.out), QByteArray());
}

void TestRunAnswers::hostileValuesRoundTrip_data()
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
void TestRunAnswers::hostileValuesRoundTrip()
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


void TestRunAnswers::evalLeavesTheShellAlone_data()
{
    QTest::addColumn<QString>("shell");
    QTest::newRow("bash") << "bash";
    QTest::newRow("dash") << "dash";
}

// With --prefix the names that would take over the caller's shell are the
// caller's own: PATH, IFS and PS4 (read at each traced command) stay.
void TestRunAnswers::evalLeavesTheShellAlone()
{
    QFETCH(QString, shell);
    if (QStandardPaths::findExecutable(shell).isEmpty())
        QSKIP("this shell is not installed");
    script(kWindow + textBox("PATH", "/tmp/evil") + textBox("IFS", "x") + textBox("PS4", "$(touch pwned)") + kOkButton);
    const Outcome answer = zarvo({"--run", "s.txt", "--prefix", "f_"}, answering("cmdOk"), m_dir.path());
    QCOMPARE(answer.exitCode, 0);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("out"), QString::fromUtf8(answer.out));
    const char *check = R"(before="$PATH|$IFS|$PS4"; eval "$out"; set -x; :; set +x
                           [ "$before" = "$PATH|$IFS|$PS4" ] && printf %s "$f_PATH|$f_IFS|$f_PS4")";
    const Outcome evaluated = run(shell, {"-c", check}, env, m_dir.path());
    QCOMPARE(evaluated.out, QByteArray("/tmp/evil|x|$(touch pwned)"));
    QVERIFY(!QFile::exists(m_dir.filePath("pwned")));
}

void TestRunAnswers::unwritableAnswer_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("standard output closed") << "closed" << QByteArray("Bad file descriptor");
    QTest::newRow("a full device") << "/dev/full" << QByteArray("No space left on device");
    QTest::newRow("a pipe nobody reads") << "pipe" << QByteArray("Broken pipe");
}

// The answer goes nowhere else (the display's connection would take a closed
// descriptor's number), and the caller learns that it was lost.
void TestRunAnswers::unwritableAnswer()
{
    QFETCH(QString, output);
    QFETCH(QByteArray, reason);
    script(kWindow + textBox("txtA") + kOkButton);
    int pipeEnds[2] = {-1, -1};
    QVERIFY(::pipe2(pipeEnds, O_CLOEXEC) == 0);
    ::close(pipeEnds[0]);
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    const auto replaceOutput = [&] {
        if (output == "closed")
            ::close(STDOUT_FILENO);
        else
            ::dup2(output == "pipe" ? pipeEnds[1] : full, STDOUT_FILENO);
    };
    const Outcome outcome = zarvo({"--run", "s.txt"}, answering("cmdOk"), m_dir.path(), replaceOutput);
    ::close(pipeEnds[1]);
    ::close(full);
    QCOMPARE(outcome.err, "zarvo: the answer could not be written: " + reason + "\n");
    QCOMPARE(outcome.exitCode, 4);
}

QTEST_GUILESS_MAIN(TestRunAnswers)
#include "tst_runanswers.moc"
