// SPDX-License-Identifier: MIT
#include "files/savefidelity.h"

#include "files/textlines.h"

#include <QStringList>
#include <iterator>

namespace files {

namespace {

struct Changes {
    bool editorBreak[std::size(kEditorParagraphBreaks)] = {};
    bool loneCr = false;
    bool loneLf = false;
};

Changes findChanges(QStringView text, LineBreak lineBreak)
{
    Changes changes;
    const bool crLf = lineBreak == LineBreak::CrLf;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r')
            changes.loneCr |= crLf && (i + 1 == text.size() || text[i + 1] != u'\n');
        else if (c == u'\n')
            changes.loneLf |= crLf && (i == 0 || text[i - 1] != u'\r');
        else if (c >= u'\u2029')
            for (size_t k = 0; k < std::size(kEditorParagraphBreaks); ++k)
                changes.editorBreak[k] |= c == kEditorParagraphBreaks[k];
    }
    return changes;
}
} // namespace

QString describeSaveChanges(const DecodedText &decoded)
{
    const Changes changes = findChanges(decoded.text, decoded.lineBreak);
    QStringList items;
    for (size_t k = 0; k < std::size(kEditorParagraphBreaks); ++k) {
        if (changes.editorBreak[k])
            items << QStringLiteral("U+%1 becomes a line break").arg(QString::number(kEditorParagraphBreaks[k], 16).toUpper());
    }
    if (changes.loneCr)
        items << QStringLiteral("CR without LF becomes CR LF");
    if (changes.loneLf)
        items << QStringLiteral("LF without CR becomes CR LF");
    if (items.isEmpty())
        return {};
    return QStringLiteral("A save would change this file: ") + items.join(QStringLiteral("; ")) + QLatin1Char('.');
}

} // namespace files
