// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform {

// A file name on Linux is bytes, mostly but not always UTF-8. As text, each
// byte of a name that is not part of valid UTF-8 becomes one code point
// U+DC80..U+DCFF (a low surrogate no valid text holds alone, as Python's
// "surrogateescape" does), so that a name reaches the file it names
// unchanged, from the command line to the file and from a folder listing
// back to the shell.
QString fileNameFromBytes(QByteArrayView bytes);
// The bytes of a name made by fileNameFromBytes. Any other surrogate
// without its partner, which no file name holds, is written as U+FFFD.
QByteArray fileNameToBytes(QStringView name);

// A name to show: each byte that is not UTF-8 as \xHH, so that names that
// differ only in such bytes look different.
QString visibleFileName(QStringView name);

// What is at a name, looked at by its bytes (QFileInfo would look at the
// name's UTF-8 form, another file or none): whether there is an entry at all
// (a link that leads nowhere included), a folder, a regular file that may be
// written.
bool entryExists(const QString &name);
bool isFolder(const QString &name);
bool isWritableRegularFile(const QString &name);

// The name made absolute from the current folder (itself read as bytes)
// and clean of "." and ".." parts, without looking at the file.
QString absoluteFileName(const QString &name);

} // namespace platform
