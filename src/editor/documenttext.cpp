#include "editor/documenttext.h"

#include <QTextDocument>
// Qt's public API reaches a paragraph's text only through a search of the
// document's trees per paragraph (QTextBlock::text), which made a save of a
// 10 MB script five times slower than building the whole text; building the
// whole text, in turn, took a fresh block of twice the script's size at every
// keystroke. The document's own piece list gives every piece of text in order
// at no cost. Debian pins the private headers to the exact Qt version.
#include <QtGui/private/qtextdocument_p.h>

namespace editing {

namespace {
// Puts a line together from the pieces it lies in. A line in one piece, or
// in one piece followed by its separator's own piece (the usual case), is
// handed on as a view of the document's buffer; only a line edited into
// several pieces is copied, so that a character is never cut in two.
class LineJoiner {
public:
    void add(QStringView part)
    {
        if (part.isEmpty())
            return;
        if (m_line.isEmpty()) {
            m_line = part;
            return;
        }
        if (m_line.data() != m_joined.constData()) {
            m_joined.resize(0);
            m_joined += m_line;
        }
        m_joined += part;
        m_line = m_joined;
    }
    // The whole line, ending with part; the joiner then starts a new line.
    QStringView end(QStringView part)
    {
        add(part);
        const QStringView line = m_line;
        m_line = QStringView();
        return line;
    }

private:
    QStringView m_line;
    QString m_joined;
};
} // namespace

bool forEachRawLine(const QTextDocument &document, const std::function<bool(QStringView, bool)> &visit)
{
    const QTextDocumentPrivate *text = QTextDocumentPrivate::get(&document);
    const QString buffer = text->buffer();
    // The document always ends with a paragraph separator of its own, which
    // is not part of the raw text.
    qsizetype remaining = qsizetype(document.characterCount()) - 1;
    if (remaining == 0)
        return visit(QStringView(), true);
    LineJoiner joiner;
    for (auto piece = text->begin(); piece != text->end() && remaining > 0; ++piece) {
        QStringView rest(buffer.constData() + piece->stringPosition, qMin(qsizetype(piece->size_array[0]), remaining));
        remaining -= rest.size();
        for (;;) {
            const qsizetype end = rest.indexOf(QChar::ParagraphSeparator);
            if (end < 0 && remaining > 0) {
                joiner.add(rest);
                break;
            }
            const bool last = end < 0;
            if (!visit(joiner.end(last ? rest : rest.first(end)), last))
                return false;
            if (last)
                break;
            rest = rest.sliced(end + 1);
        }
    }
    return true;
}

} // namespace editing
