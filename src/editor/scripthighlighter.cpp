// SPDX-License-Identifier: MIT
#include "editor/scripthighlighter.h"

#include "editor/codeeditor.h"
#include "files/scriptsyntax.h"

#include <QColor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace editing {

namespace {
using files::kDateMarker;
// A line's state: left for later because the editor did not show it, or
// coloured. A new line has neither (-1).
constexpr int kLineUncoloured = 0;
constexpr int kLineColoured = 1;
// A change larger than this (a load) leaves its lines to be coloured when
// shown; a smaller one is coloured at once.
constexpr int kColourAtOnceMaxChars = 100000;

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// A number starts at i when a digit, or a sign or point before a digit, does
// not continue a word; it must not run on into one either. Returns its length.
int numberAt(QStringView line, qsizetype i)
{
    if (i > 0 && (isWordChar(line[i - 1]) || line[i - 1] == QLatin1Char('.')))
        return 0;
    qsizetype end = i;
    if (line[end] == QLatin1Char('-') || line[end] == QLatin1Char('+'))
        ++end;
    const auto digitsFrom = [&](qsizetype from) {
        while (from < line.size() && line[from].isDigit())
            ++from;
        return from;
    };
    qsizetype numberEnd = digitsFrom(end);
    if (numberEnd < line.size() && line[numberEnd] == QLatin1Char('.')) {
        const qsizetype fractionEnd = digitsFrom(numberEnd + 1);
        if (fractionEnd > numberEnd + 1)
            numberEnd = fractionEnd;
    }
    if (numberEnd == end || (numberEnd < line.size() && isWordChar(line[numberEnd])))
        return 0;
    return int(numberEnd - i);
}

// The arguments after the first word: quoted texts, numbers and "Date$".
void argumentTokens(QStringView line, qsizetype from, QList<TokenSpan> &tokens)
{
    for (qsizetype i = from; i < line.size();) {
        if (line.mid(i).startsWith(kDateMarker)) {
            tokens.append({int(i), int(kDateMarker.size()), ScriptToken::Date});
            i += kDateMarker.size();
        } else if (line[i] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? line.size() : close + 1;
            tokens.append({int(i), int(end - i), ScriptToken::Quoted});
            for (qsizetype d = line.indexOf(kDateMarker, i); d >= 0 && d + kDateMarker.size() <= end;
                 d = line.indexOf(kDateMarker, d + kDateMarker.size()))
                tokens.append({int(d), int(kDateMarker.size()), ScriptToken::Date});
            i = end;
        } else if (const int length = numberAt(line, i)) {
            tokens.append({int(i), length, ScriptToken::Number});
            i += length;
        } else {
            ++i;
        }
    }
}

QTextCharFormat colored(const QColor &color, bool italic = false)
{
    QTextCharFormat format;
    format.setForeground(color);
    format.setFontItalic(italic);
    return format;
}
} // namespace

QList<TokenSpan> scriptTokens(QStringView line, const QStringList &keywords)
{
    QList<TokenSpan> tokens;
    const files::ScriptLineParts parts = files::scriptLineParts(line);
    if (parts.blank())
        return tokens;
    if (parts.comment) {
        tokens.append({int(parts.start), int(parts.end - parts.start), ScriptToken::Comment});
        return tokens;
    }
    const QStringView word = line.sliced(parts.start, parts.keywordEnd - parts.start);
    const bool runs = parts.hasArguments() && keywords.contains(word);
    tokens.append({int(parts.start), int(word.size()), runs ? ScriptToken::Keyword : ScriptToken::NotACommand});
    argumentTokens(line.first(parts.end), parts.keywordEnd, tokens);
    return tokens;
}

ScriptHighlighter::ScriptHighlighter(QTextDocument *document, const QStringList &keywords, bool darkBackground)
    : QObject(document), m_document(document), m_keywords(keywords)
{
    // One colour per token kind, in the order of ScriptToken, for a light
    // and for a dark background.
    const auto pick = [darkBackground](QRgb light, QRgb dark) { return QColor(darkBackground ? dark : light); };
    m_formats = {
        colored(pick(0x0000c0, 0x80a8ff)),
        colored(pick(0xc00000, 0xff7070)),
        colored(pick(0xa31515, 0xe8a070)),
        colored(pick(0x207020, 0x70c070), true),
        colored(pick(0x007a7a, 0x60d0c0)),
        colored(pick(0x8000a0, 0xd090ff)),
    };
    QTextCharFormat &wrong = m_formats[int(ScriptToken::NotACommand)];
    wrong.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    wrong.setUnderlineColor(wrong.foreground().color());
    m_formats[int(ScriptToken::Date)].setFontUnderline(true);
    connect(document, &QTextDocument::contentsChange, this, &ScriptHighlighter::colourChange);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        colourLine(block);
}

ScriptHighlighter::ScriptHighlighter(CodeEditor &editor, const QStringList &keywords)
    : ScriptHighlighter(editor.document(), keywords, editor.palette().color(QPalette::Base).lightness() < 128)
{
    m_editor = &editor;
    editor.viewport()->installEventFilter(this);
}

QTextCharFormat ScriptHighlighter::formatOf(ScriptToken kind) const { return m_formats.at(int(kind)); }

void ScriptHighlighter::colourChange(int position, int, int added)
{
    QTextBlock first = m_document->findBlock(position);
    QTextBlock last = m_document->findBlock(position + added);
    if (!last.isValid())
        last = m_document->lastBlock();
    if (m_editor && added > kColourAtOnceMaxChars) {
        // Left to be coloured when shown. Lines in between are new and have
        // no state yet; the first and the last may be older lines.
        first.setUserState(kLineUncoloured);
        last.setUserState(kLineUncoloured);
        return;
    }
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        colourLine(block);
        if (block == last)
            break;
    }
}

namespace {
// The token kind of each character of a line, -1 for none; a later token
// (a date inside a quoted text) wins over an earlier one.
QList<int> kindsOf(QStringView line, const QList<TokenSpan> &tokens)
{
    QList<int> kinds(line.size(), -1);
    for (const TokenSpan &token : tokens)
        std::fill(kinds.begin() + token.start, kinds.begin() + token.start + token.length, int(token.kind));
    return kinds;
}
} // namespace

void ScriptHighlighter::colourLine(QTextBlock block)
{
    QTextLayout *layout = block.layout();
    const QString text = block.text();
    // Text an input method is still composing sits inside the line's layout
    // (not its text) with formats of its own, which are kept; the colours
    // after it move by its length.
    const int preeditStart = layout->preeditAreaPosition();
    const int preeditLength = int(layout->preeditAreaText().size());
    QList<QTextLayout::FormatRange> formats;
    for (const QTextLayout::FormatRange &range : layout->formats()) {
        if (preeditLength > 0 && range.start >= preeditStart && range.start + range.length <= preeditStart + preeditLength)
            formats.append(range);
    }
    const QList<int> kinds = kindsOf(text, scriptTokens(text, m_keywords));
    for (int start = 0, end = 0; start < kinds.size(); start = end) {
        for (end = start + 1; end < kinds.size() && kinds[end] == kinds[start];)
            ++end;
        if (kinds[start] < 0)
            continue;
        QTextLayout::FormatRange range{start, end - start, m_formats.at(kinds[start])};
        if (preeditLength > 0 && range.start >= preeditStart)
            range.start += preeditLength;
        else if (preeditLength > 0 && range.start + range.length >= preeditStart)
            range.length += preeditLength;
        formats.append(range);
    }
    block.setUserState(kLineColoured);
    if (formats == layout->formats())
        return;
    layout->setFormats(formats);
    // Repaints the line; inside a change this widens the change, otherwise it
    // is no change of the text.
    m_document->markContentsDirty(block.position(), block.length());
}

bool ScriptHighlighter::eventFilter(QObject *watched, QEvent *event)
{
    // Colour the lines about to be painted, so this paint shows them coloured.
    if (event->type() == QEvent::Paint)
        colourShownLines();
    return QObject::eventFilter(watched, event);
}

void ScriptHighlighter::colourShownLines()
{
    const auto [first, last] = m_editor->shownLines();
    for (QTextBlock block = m_document->findBlockByNumber(first); block.isValid() && block.blockNumber() <= last;
         block = block.next()) {
        // A line no pass has seen yet (a long text put in) has no state.
        if (block.userState() != kLineColoured)
            colourLine(block);
    }
}

} // namespace editing
