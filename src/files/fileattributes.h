// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <sys/stat.h>

namespace files {

// Gives the new file at fd, which is to take the place of the file at
// replacedPath (status replaced), what that file carries: its owner and
// group, its mode, its access control list and its extended attributes.
// False when any of it cannot be given (an owner only root may give, an
// attribute the file system or our rights refuse), or when the new file
// would end up with wider permissions: the file must then be written in
// place instead.
bool carryOverAttributes(int fd, const QByteArray &replacedPath, const struct stat &replaced);

} // namespace files
