// SPDX-License-Identifier: MIT
#include "cli/terminal.h"

#include "platform/filenames.h"
#include "toolkit/outputwindowwidget.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cli {

namespace {
int g_writeErrno = 0;

bool write(std::FILE *stream, const QByteArray &bytes)
{
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    const bool flushed = std::fflush(stream) == 0;
    if (written && flushed)
        return true;
    g_writeErrno = errno;
    std::clearerr(stream);
    return false;
}
} // namespace

// A closed descriptor would be given to the next file opened, the display's
// connection say, and an answer meant for standard output would go there.
// /dev/null is opened the other way round (standard input for writing, the
// outputs for reading), so that reading or writing it still fails as on a
// closed descriptor.
void occupyClosedStandardDescriptors()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY); // the lowest free number: fd
    }
}

bool writeOut(const QByteArray &bytes) { return write(stdout, bytes); }

// File names in the text (a script's, a picture's) are written as the bytes
// they are on disk.
bool writeOut(const QString &text) { return writeOut(platform::fileNameToBytes(text)); }

void writeError(const QString &text) { write(stderr, platform::fileNameToBytes(text)); }

QString lastWriteError() { return QString::fromLocal8Bit(std::strerror(g_writeErrno)); }

QString reportLine(const interpreter::RunReport &report)
{
    QString line = report.place.scriptPath;
    if (report.place.lineNumber > 0)
        line += QLatin1Char(':') + QString::number(report.place.lineNumber);
    if (report.number == 0)
        line += QStringLiteral(": error: unknown command: ") + report.unknownKeyword;
    else
        line += QStringLiteral(": error ") + QString::number(report.number) + QStringLiteral(": ") + report.description;
    if (!report.detail.isEmpty())
        line += QStringLiteral("; ") + report.detail;
    return line;
}

QString warningLine(const interpreter::RunWarning &warning)
{
    return warning.place.scriptPath + QLatin1Char(':') + QString::number(warning.place.lineNumber)
        + QStringLiteral(": warning: ") + warning.text;
}

void TerminalRunHost::warn(const interpreter::RunWarning &warning)
{
    ++m_warningCount;
    if (m_warningsShown)
        writeError(warningLine(warning) + QLatin1Char('\n'));
}

void TerminalRunHost::report(const interpreter::RunReport &report)
{
    m_failed = true;
    writeError(reportLine(report) + QLatin1Char('\n'));
}

void TerminalRunHost::controlCreated(const QString &name, int lineNumber)
{
    m_controlLines.insert(toolkit::controlNameKey(name), lineNumber);
}

int TerminalRunHost::lineOfControl(const QString &name) const
{
    return m_controlLines.value(toolkit::controlNameKey(name));
}

} // namespace cli
