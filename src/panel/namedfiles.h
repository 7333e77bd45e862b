// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;

namespace panel {

// After Save As into another folder: the files a script names by paths
// relative to its folder (its pictures) that are beside the old script but
// not beside the new one, copied along when the user agrees (Copy / Don't
// copy). Folders the script names are listed but not copied. A copy that
// fails is reported in a box.
void offerToCopyNamedFiles(QWidget *owner, const QString &script, const QString &oldFolder,
                           const QString &newFolder);

} // namespace panel
