#include "platform/documenttext.h"

#include <QTextDocument>
// Qt's public API reaches a paragraph's text only through a search of the
// document's trees per paragraph (QTextBlock::text), which made a save of a
// 10 MB script five times slower than building the whole text; building the
// whole text, in turn, took a fresh block of twice the script's size at every
// keystroke. The document's own piece list gives every piece of text in order
// at no cost. Debian pins the private headers to the exact Qt version.
#include <QtGui/private/qtextdocument_p.h>

namespace platform {

bool forEachRawLine(const QTextDocument &document, const std::function<bool(QStringView, bool)> &visit)
{
    const QTextDocumentPrivate *text = QTextDocumentPrivate::get(&document);
    const QString buffer = text->buffer();
    // The document always ends with a paragraph separator of its own, which
    // is not part of the raw text.
    qsizetype remaining = qsizetype(document.characterCount()) - 1;
    if (remaining == 0)
        return visit(QStringView(), true);
    // A line spread over several pieces (after edits) is gathered here, so
    // that a character is never cut in two between pieces.
    QString spread;
    for (auto piece = text->begin(); piece != text->end() && remaining > 0; ++piece) {
        QStringView rest(buffer.constData() + piece->stringPosition, qMin(qsizetype(piece->size_array[0]), remaining));
        remaining -= rest.size();
        for (;;) {
            const qsizetype end = rest.indexOf(QChar::ParagraphSeparator);
            const QStringView part = end >= 0 ? rest.first(end) : rest;
            if (end < 0 && remaining > 0) {
                spread += part;
                break;
            }
            const bool last = end < 0;
            if (!(spread.isEmpty() ? visit(part, last) : visit(spread += part, last)))
                return false;
            spread.resize(0);
            if (last)
                break;
            rest = rest.sliced(end + 1);
        }
    }
    return true;
}

} // namespace platform
