#include "cli/terminal.h"

#include <cstdio>

namespace cli {

namespace {
void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}
} // namespace

void writeOut(const QString &text) { write(stdout, text); }

void writeError(const QString &text) { write(stderr, text); }

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

} // namespace cli
