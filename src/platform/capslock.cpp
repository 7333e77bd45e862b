#include "platform/capslock.h"

#include <QDir>
#include <QFile>

namespace platform {

std::optional<bool> capsLockState(const QString &ledsFolder)
{
    const QDir leds(ledsFolder);
    const QStringList names = leds.entryList({QStringLiteral("*capslock*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    if (names.isEmpty())
        return std::nullopt;
    for (const QString &name : names) {
        QFile brightness(leds.filePath(name + QStringLiteral("/brightness")));
        if (brightness.open(QIODevice::ReadOnly) && brightness.readAll().trimmed() != "0")
            return true;
    }
    return false;
}

} // namespace platform
