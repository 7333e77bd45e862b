// SPDX-License-Identifier: MIT
#include "cli/answers.h"

#include "platform/filenames.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {
const QString kButtonName = QStringLiteral("button");

// zsh ties path, cdpath... to PATH, CDPATH: every letter case counts.
const QLatin1String kShellVariables[] = {
    QLatin1String("IFS"), QLatin1String("PATH"), QLatin1String("CDPATH"), QLatin1String("ENV"),
    QLatin1String("HOME"), QLatin1String("PS1"), QLatin1String("PS2"), QLatin1String("PS3"),
    QLatin1String("PS4"), QLatin1String("PROMPT_COMMAND"), QLatin1String("SHELLOPTS"), QLatin1String("BASHOPTS"),
};
const QLatin1String kShellAndLoaderPrefixes[] = {QLatin1String("BASH_"), QLatin1String("LD_"),
                                                 QLatin1String("DYLD_")};

bool inEnvironmentStyle(const QString &name)
{
    for (const QChar c : name) {
        if (!(c >= QLatin1Char('A') && c <= QLatin1Char('Z')) && !c.isDigit() && c != QLatin1Char('_'))
            return false;
    }
    return true;
}

// Text that UTF-8 can hold: each surrogate without its partner becomes
// U+FFFD, a file name's byte that is not UTF-8 included, so that JSON is
// valid UTF-8 for strict readers.
QString encodable(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QString shellValue(const toolkit::ControlValue &value)
{
    if (value.checked)
        return *value.checked ? QStringLiteral("1") : QStringLiteral("0");
    return value.text;
}
} // namespace

QString controlNamedButton(const QList<toolkit::ControlValue> &values)
{
    for (const toolkit::ControlValue &value : values) {
        if (value.name == kButtonName)
            return value.name;
    }
    return QString();
}

bool readByShellOrLoader(const QString &name, bool prefixed)
{
    for (const QLatin1String variable : kShellVariables) {
        if (name.compare(variable, Qt::CaseInsensitive) == 0)
            return true;
    }
    for (const QLatin1String start : kShellAndLoaderPrefixes) {
        if (name.startsWith(start, Qt::CaseInsensitive))
            return true;
    }
    return !prefixed && inEnvironmentStyle(name);
}

QString shellQuoted(const QString &value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QByteArray shellAnswer(const QList<toolkit::ControlValue> &values, const QString &button, const QString &prefix)
{
    QString out;
    for (const toolkit::ControlValue &value : values)
        out += prefix + value.name + QLatin1Char('=') + shellQuoted(shellValue(value)) + QLatin1Char('\n');
    out += prefix + kButtonName + QLatin1Char('=') + shellQuoted(button) + QLatin1Char('\n');
    return platform::fileNameToBytes(out);
}

QByteArray jsonAnswer(const QList<toolkit::ControlValue> &values, const QString &button, const QString &prefix)
{
    QJsonObject object;
    for (const toolkit::ControlValue &value : values) {
        object.insert(prefix + value.name,
                      value.checked ? QJsonValue(*value.checked) : QJsonValue(encodable(value.text)));
    }
    object.insert(prefix + kButtonName, button);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace cli
