// SPDX-License-Identifier: MIT
#include "cli/commandline.h"

#include "platform/filenames.h"
#include "toolkit/windowpicture.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>

namespace cli {

namespace {
constexpr double kMaxScale = 8;

const QString kHelpOption = QStringLiteral("help");
const QString kVersionOption = QStringLiteral("version");
const QString kRunOption = QStringLiteral("run");
const QString kJsonOption = QStringLiteral("json");
const QString kCheckOption = QStringLiteral("check");
const QString kStrictOption = QStringLiteral("strict");
const QString kRenderOption = QStringLiteral("render");
const QString kOutputOption = QStringLiteral("output");
const QString kScaleOption = QStringLiteral("scale");
const QString kPrefixOption = QStringLiteral("prefix");

const QString kHelp = QStringLiteral(R"(Usage: zarvo [FILE]
       zarvo --run FILE [--json] [--prefix P]
       zarvo --check [--strict] FILE...
       zarvo --render FILE -o OUT.png [--scale S]

Without options, opens the control panel on FILE (made absolute; the first
save creates it when it does not exist) or, without FILE, on the default
script.

Options:
  --run FILE        Run FILE as COMPILE does and show its window, without the
                    control panel. Every button closes the window, Return
                    presses the first; then print name='value' (shell
                    quoting) for each control that holds a value, in script
                    order, and button='NAME' last.
  --json            With --run: print one JSON object instead.
  --prefix P        With --run: put P (letters, digits, _) before every name
                    printed, button included. Without it, --run refuses names
                    the shell or the dynamic loader reads (PATH, IFS, LD_...,
                    any name in capitals).
  --check FILE...   Run each FILE with no window shown and no display needed;
                    print "FILE: ok" for each one that succeeds.
  --strict          With --check: a script with warnings fails.
  --render FILE     Run FILE with no display needed and write a picture of its
                    window's client area.
  -o, --output OUT  With --render: the picture file to write, in the format
                    its suffix names (png, jpg, bmp, ppm...; PNG without a
                    suffix); "-" writes PNG to standard output. OUT is
                    replaced only once the whole picture is written.
  --scale S         With --render: picture pixels per window pixel (above 0,
                    at most 8; default 1).
  -h, --help        Print this help and exit.
  -v, --version     Print the version and exit.

With --run, --check and --render, FILE may be "-" for standard input or a
pipe such as /dev/stdin, read to its end; a first line starting with "#!" is
skipped, and each failure is printed on standard error as
  FILE:LINE: error N: description
  FILE:LINE: error: unknown command: KEYWORD
  FILE: error 53: File not found
--check also warns of each input control that no label names, as
  FILE:LINE: warning: text box NAME has no label

Exit status:
  0  done; with --run, a button closed the window
  1  --run: the close box or Escape closed the window
     --check, --render: a script failed (--strict: or had warnings)
     the control panel: no display found
  2  a usage error; with --run, the script failed
  3  --run: a usage error, or no display found
  4  --run: the answer could not be written
)");

// The options a mode may not be combined with, checked after parsing.
QString modeError(const QCommandLineParser &parser)
{
    const int modes =
        int(parser.isSet(kRunOption)) + int(parser.isSet(kCheckOption)) + int(parser.isSet(kRenderOption));
    if (modes > 1)
        return QStringLiteral("--run, --check and --render cannot be combined.");
    if (parser.isSet(kJsonOption) && !parser.isSet(kRunOption))
        return QStringLiteral("--json needs --run.");
    if (parser.isSet(kPrefixOption) && !parser.isSet(kRunOption))
        return QStringLiteral("--prefix needs --run.");
    static const QRegularExpression shellName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (parser.isSet(kPrefixOption) && !shellName.match(parser.value(kPrefixOption)).hasMatch())
        return QStringLiteral("--prefix needs a shell name: letters, digits and _, not starting with a digit.");
    if (parser.isSet(kStrictOption) && !parser.isSet(kCheckOption))
        return QStringLiteral("--strict needs --check.");
    const bool render = parser.isSet(kRenderOption);
    if (!render && (parser.isSet(kOutputOption) || parser.isSet(kScaleOption)))
        return QStringLiteral("-o and --scale need --render.");
    if (render && !parser.isSet(kOutputOption))
        return QStringLiteral("--render needs -o OUT.png.");
    return {};
}

QString fileCountError(Mode mode, qsizetype files)
{
    switch (mode) {
    case Mode::Panel:
        return files > 1 ? QStringLiteral("Only one FILE can be opened.") : QString();
    case Mode::Check:
        return files == 0 ? QStringLiteral("--check needs at least one FILE.") : QString();
    case Mode::Run:
        return files != 1 ? QStringLiteral("--run needs exactly one FILE.") : QString();
    case Mode::Render:
        return files != 1 ? QStringLiteral("--render needs exactly one FILE.") : QString();
    default:
        return {};
    }
}

Mode modeOf(const QCommandLineParser &parser)
{
    if (parser.isSet(kRunOption))
        return Mode::Run;
    if (parser.isSet(kCheckOption))
        return Mode::Check;
    if (parser.isSet(kRenderOption))
        return Mode::Render;
    return Mode::Panel;
}

// Reads --scale; returns false for anything but a number above 0 and at most 8.
bool readScale(const QCommandLineParser &parser, double &scale)
{
    if (!parser.isSet(kScaleOption))
        return true;
    bool ok = false;
    scale = QLocale::c().toDouble(parser.value(kScaleOption), &ok);
    return ok && scale > 0 && scale <= kMaxScale;
}

// --render's picture format, named by OUT's suffix; the usage error for a
// suffix Qt cannot write.
QString readPictureFormat(Invocation &invocation)
{
    if (invocation.mode != Mode::Render)
        return {};
    invocation.pictureFormat = invocation.output == QLatin1String("-") ? QByteArrayLiteral("png")
                                                                       : toolkit::pictureFormatFor(invocation.output);
    if (!invocation.pictureFormat.isEmpty())
        return {};
    return invocation.output + QStringLiteral(": no picture format has this suffix; Qt writes ")
        + toolkit::writablePictureFormats() + QLatin1Char('.');
}

void addOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {{QStringLiteral("h"), kHelpOption}, QString()},
        {{QStringLiteral("v"), kVersionOption}, QString()},
        {kRunOption, QString()},
        {kJsonOption, QString()},
        {kCheckOption, QString()},
        {kStrictOption, QString()},
        {kRenderOption, QString()},
        {{QStringLiteral("o"), kOutputOption}, QString(), QStringLiteral("OUT")},
        {kScaleOption, QString(), QStringLiteral("S")},
        {kPrefixOption, QString(), QStringLiteral("P")},
    });
}

Invocation usageError(Invocation invocation, const QString &error)
{
    invocation.error = error;
    invocation.exitStatus = invocation.mode == Mode::Run ? ExitRunUsage : ExitUsage;
    return invocation;
}
} // namespace

Invocation parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    addOptions(parser);
    const bool parsed = parser.parse(arguments);
    Invocation invocation;
    invocation.mode = modeOf(parser);
    if (!parsed)
        return usageError(invocation, parser.errorText());
    if (parser.isSet(kHelpOption) || parser.isSet(kVersionOption)) {
        invocation.mode = parser.isSet(kHelpOption) ? Mode::Help : Mode::Version;
        return invocation;
    }
    invocation.files = parser.positionalArguments();
    invocation.json = parser.isSet(kJsonOption);
    invocation.strict = parser.isSet(kStrictOption);
    invocation.output = parser.value(kOutputOption);
    invocation.prefix = parser.value(kPrefixOption);
    QString error = modeError(parser);
    if (error.isEmpty())
        error = fileCountError(invocation.mode, invocation.files.size());
    if (error.isEmpty() && !readScale(parser, invocation.scale))
        error = QStringLiteral("--scale needs a number above 0 and at most %1.").arg(kMaxScale);
    if (error.isEmpty())
        error = readPictureFormat(invocation);
    if (!error.isEmpty())
        return usageError(invocation, error);
    if (invocation.mode == Mode::Panel && !invocation.files.isEmpty())
        invocation.files[0] = QDir::toNativeSeparators(platform::absoluteFileName(invocation.files[0]));
    return invocation;
}

QString helpText() { return kHelp; }

QString versionText() { return QStringLiteral("zarvo " ZARVO_VERSION "\n"); }

QString usageHint() { return QStringLiteral("Try 'zarvo --help' for more information."); }

} // namespace cli
