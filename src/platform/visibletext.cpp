// SPDX-License-Identifier: MIT
#include "platform/visibletext.h"

namespace platform {

QString elidedText(const QString &text, qsizetype maxCharacters)
{
    const QLatin1StringView ellipsis("...");
    if (text.size() <= maxCharacters)
        return text;
    qsizetype keep = qMax<qsizetype>(0, maxCharacters - ellipsis.size());
    // A character outside the basic plane is two code units: keep it whole or not at all.
    if (keep > 0 && text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.first(keep) + ellipsis;
}

QString visibleLine(const QString &text) { return elidedText(text, kMaxLineCharacters); }

QString visibleBoxText(const QString &text) { return elidedText(text, kMaxBoxCharacters); }

QString visibleCaption(const QString &text, int widthPixels)
{
    return elidedText(text, 2 * qsizetype(qMax(widthPixels, 0)) + 16);
}

} // namespace platform
