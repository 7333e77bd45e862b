// SPDX-License-Identifier: MIT
#include "cli/commandline.h"

#include <QDir>
#include <QTest>

using cli::Mode;

Q_DECLARE_METATYPE(cli::Mode)

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("exitStatus"); // not 0: a usage error
    QTest::addColumn<QString>("output");
    QTest::addColumn<double>("scale");

    const QString here = QDir::currentPath();
    const QStringList none;
    QTest::newRow("no arguments: the panel on the default script") << "" << Mode::Panel << none << 0 << "" << 1.0;
    QTest::newRow("relative FILE made absolute") << "sub/../x.txt" << Mode::Panel << QStringList{here + "/x.txt"} << 0
                                                 << "" << 1.0;
    QTest::newRow("a file name after --") << "-- -x" << Mode::Panel << QStringList{here + "/-x"} << 0 << "" << 1.0;
    QTest::newRow("two FILEs") << "a b" << Mode::Panel << none << 2 << "" << 1.0;
    QTest::newRow("unknown option") << "--bogus" << Mode::Panel << none << 2 << "" << 1.0;
    QTest::newRow("help wins over a FILE") << "x --help" << Mode::Help << none << 0 << "" << 1.0;
    QTest::newRow("version") << "--version" << Mode::Version << none << 0 << "" << 1.0;

    QTest::newRow("run keeps FILE as given") << "--run s.txt" << Mode::Run << QStringList{"s.txt"} << 0 << "" << 1.0;
    QTest::newRow("run --json") << "--json --run s.txt" << Mode::Run << QStringList{"s.txt"} << 0 << "" << 1.0;
    QTest::newRow("run without FILE") << "--run" << Mode::Run << none << 3 << "" << 1.0;
    QTest::newRow("run with two FILEs") << "--run a b" << Mode::Run << none << 3 << "" << 1.0;
    QTest::newRow("run with an unknown option") << "--run a --bogus" << Mode::Run << none << 3 << "" << 1.0;
    QTest::newRow("run with check") << "--run a --check" << Mode::Run << none << 3 << "" << 1.0;
    QTest::newRow("json without run") << "--json a" << Mode::Panel << none << 2 << "" << 1.0;
    QTest::newRow("run --prefix") << "--run s.txt --prefix f_" << Mode::Run << QStringList{"s.txt"} << 0 << "" << 1.0;
    QTest::newRow("prefix without run") << "--prefix f_ a" << Mode::Panel << none << 2 << "" << 1.0;
    QTest::newRow("prefix not a shell name") << "--run a --prefix 9x" << Mode::Run << none << 3 << "" << 1.0;
    QTest::newRow("run reads standard input") << "--run -" << Mode::Run << QStringList{"-"} << 0 << "" << 1.0;

    QTest::newRow("check") << "--check a b" << Mode::Check << QStringList{"a", "b"} << 0 << "" << 1.0;
    QTest::newRow("check without FILE") << "--check" << Mode::Check << none << 2 << "" << 1.0;
    QTest::newRow("check --strict") << "--strict --check a" << Mode::Check << QStringList{"a"} << 0 << "" << 1.0;
    QTest::newRow("strict without check") << "--run a --strict" << Mode::Run << none << 3 << "" << 1.0;

    QTest::newRow("render") << "--render s -o p.png --scale 2.5" << Mode::Render << QStringList{"s"} << 0 << "p.png"
                            << 2.5;
    QTest::newRow("render at the largest scale") << "--render s --output=p --scale 8" << Mode::Render
                                                 << QStringList{"s"} << 0 << "p" << 8.0;
    QTest::newRow("render without -o") << "--render s" << Mode::Render << none << 2 << "" << 1.0;
    QTest::newRow("scale 0") << "--render s -o p --scale 0" << Mode::Render << none << 2 << "" << 1.0;
    QTest::newRow("scale above 8") << "--render s -o p --scale 8.01" << Mode::Render << none << 2 << "" << 1.0;
    QTest::newRow("scale not a number") << "--render s -o p --scale x" << Mode::Render << none << 2 << "" << 1.0;
    QTest::newRow("-o without render") << "-o p s" << Mode::Panel << none << 2 << "" << 1.0;
}

void TestCommandLine::parse()
{
    QFETCH(QString, arguments);
    QFETCH(Mode, mode);
    QFETCH(QStringList, files);
    QFETCH(int, exitStatus);
    QFETCH(QString, output);
    QFETCH(double, scale);

    QStringList argv{QStringLiteral("zarvo")};
    argv += arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const cli::Invocation invocation = cli::parseCommandLine(argv);
    QCOMPARE(invocation.mode, mode);
    QCOMPARE(invocation.exitStatus, exitStatus);
    QCOMPARE(invocation.error.isEmpty(), exitStatus == 0);
    if (exitStatus != 0)
        return;
    QCOMPARE(invocation.files, files);
    QCOMPARE(invocation.json, arguments.contains(QLatin1String("--json")));
    QCOMPARE(invocation.strict, arguments.contains(QLatin1String("--strict")));
    QCOMPARE(invocation.output, output);
    QCOMPARE(invocation.scale, scale);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
