#include "platform/textsave.h"

#include "platform/toolkiterror.h"

#include <QSaveFile>

namespace platform {

namespace {
[[noreturn]] void abandon(QSaveFile &file)
{
    // The reason must be taken before cancelWriting() may replace it.
    const QString reason = file.errorString();
    file.cancelWriting();
    raiseError(ErrFileAccess, reason);
}
} // namespace

void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    // Unbuffered, so a write cut short (a full disk) fails here with its reason
    // instead of being lost in a buffer that commit() would not check.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        raiseError(ErrFileAccess, file.errorString());
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0)
            abandon(file);
        data += written;
        left -= written;
    }
    if (!file.flush())
        abandon(file);
    if (!file.commit())
        raiseError(ErrFileAccess, file.errorString());
}

} // namespace platform
