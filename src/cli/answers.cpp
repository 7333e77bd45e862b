#include "cli/answers.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {
const QString kButtonName = QStringLiteral("button");
}

QString controlNamedButton(const QList<toolkit::ControlValue> &values)
{
    for (const toolkit::ControlValue &value : values) {
        if (value.name == kButtonName)
            return value.name;
    }
    return QString();
}

QString shellQuoted(const QString &value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString shellAnswer(const QList<toolkit::ControlValue> &values, const QString &button)
{
    QString out;
    for (const toolkit::ControlValue &value : values) {
        const QString text = value.checked ? QString(*value.checked ? QLatin1Char('1') : QLatin1Char('0')) : value.text;
        out += value.name + QLatin1Char('=') + shellQuoted(text) + QLatin1Char('\n');
    }
    return out + kButtonName + QLatin1Char('=') + shellQuoted(button) + QLatin1Char('\n');
}

QString jsonAnswer(const QList<toolkit::ControlValue> &values, const QString &button)
{
    QJsonObject object;
    for (const toolkit::ControlValue &value : values)
        object.insert(value.name, value.checked ? QJsonValue(*value.checked) : QJsonValue(value.text));
    object.insert(kButtonName, button);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n');
}

} // namespace cli
