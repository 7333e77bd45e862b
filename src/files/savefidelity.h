// SPDX-License-Identifier: MIT
#pragma once

#include "files/textencoding.h"

#include <QString>

namespace files {

// What a save right after loading the decoded file into the script editor
// would change in it, as a short sentence for the status line; empty when the
// save gives back exactly the bytes that were read. The editor turns U+2029,
// U+FDD0 and U+FDD1 into line breaks of its own, and every line break is saved
// in the file's style (CR LF, or LF), so a lone CR, or a lone LF in a CR LF
// file, would change. A missing final line break is not counted: a save
// always ends the file with one.
QString describeSaveChanges(const DecodedText &decoded);

} // namespace files
