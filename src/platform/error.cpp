// SPDX-License-Identifier: MIT
#include "platform/error.h"

#include <cerrno>
#include <sys/stat.h>
#include <utility>

namespace platform {

Error::Error(int number, QString description)
    : m_number(number), m_description(std::move(description)),
      m_what((QString::number(number) + QStringLiteral(": ") + m_description).toUtf8())
{
}

QString standardDescription(int number)
{
    switch (number) {
    case ErrInvalidArgument: return QStringLiteral("Invalid procedure call or argument");
    case ErrOverflow: return QStringLiteral("Overflow");
    case ErrOutOfMemory: return QStringLiteral("Out of memory");
    case ErrSubscript: return QStringLiteral("Subscript out of range");
    case ErrTypeMismatch: return QStringLiteral("Type mismatch");
    case ErrFileNotFound: return QStringLiteral("File not found");
    case ErrDeviceUnavailable: return QStringLiteral("Device unavailable");
    case ErrFileAccess: return QStringLiteral("Path/File access error");
    case ErrPathNotFound: return QStringLiteral("Path not found");
    case ErrInvalidPropertyValue: return QStringLiteral("Invalid property value");
    case ErrReadOnlyProperty: return QStringLiteral("Property is read-only");
    case ErrNoSuchProperty: return QStringLiteral("Object doesn't support this property or method");
    case ErrInvalidPicture: return QStringLiteral("Invalid picture");
    case ErrInvalidClass: return QStringLiteral("Invalid class string");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

void raiseError(int number)
{
    throw Error(number, standardDescription(number));
}

void raiseError(int number, const QString &description)
{
    throw Error(number, description);
}

void raiseFileOpenError(const QByteArray &path, int errorCode)
{
    if (errorCode != ENOENT && errorCode != ENOTDIR)
        raiseError(ErrFileAccess);
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
    struct stat status;
    const bool folderExists = ::stat(folder.constData(), &status) == 0 && S_ISDIR(status.st_mode);
    raiseError(folderExists ? ErrFileNotFound : ErrPathNotFound);
}

void raiseControlError(int number, const QString &controlName)
{
    if (number == ErrDuplicateControl)
        throw Error(number, QStringLiteral("There is already a control with the name '%1'").arg(controlName));
    if (number == ErrControlNotFound)
        throw Error(number, QStringLiteral("Control '%1' not found").arg(controlName));
    raiseError(number);
}

} // namespace platform
