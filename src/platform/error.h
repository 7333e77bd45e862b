// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <exception>

namespace platform {

// Error numbers the program raises. The compile run reports 53, 75
// and 730 in their own way; every other number shows as "number: description".
enum ErrorNumber : int {
    ErrInvalidArgument = 5,
    ErrOverflow = 6,
    ErrOutOfMemory = 7,
    ErrSubscript = 9,
    ErrTypeMismatch = 13,
    ErrFileNotFound = 53,
    ErrDeviceUnavailable = 68,
    ErrFileAccess = 75,
    ErrPathNotFound = 76,
    ErrInvalidPropertyValue = 380,
    ErrReadOnlyProperty = 383,
    ErrNoSuchProperty = 438,
    ErrInvalidPicture = 481,
    ErrInvalidClass = 711,
    ErrDuplicateControl = 727,
    ErrControlNotFound = 730,
};

// The program's one exception type: a signed 32-bit number and a
// description, like the runtime errors the script's error trap receives.
class Error : public std::exception {
public:
    Error(int number, QString description);

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

// The standard description of an error number ("Overflow", "File not found"...).
QString standardDescription(int number);

[[noreturn]] void raiseError(int number);
[[noreturn]] void raiseError(int number, const QString &description);
// Why the file at path (its bytes) could not be opened, from the errno value
// of the failed call: 53 when it does not exist, 76 when its folder does not
// either, 75 otherwise.
[[noreturn]] void raiseFileOpenError(const QByteArray &path, int errorCode);
// 727 and 730 name the control in their description.
[[noreturn]] void raiseControlError(int number, const QString &controlName);

} // namespace platform
