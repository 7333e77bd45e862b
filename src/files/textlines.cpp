// SPDX-License-Identifier: MIT
#include "files/textlines.h"

#include <algorithm>
#include <iterator>

namespace files {

TextLine LineWalker::next()
{
    const qsizetype n = m_text.size();
    const QChar *data = m_text.data();
    TextLine line{m_pos, 0, false};
    qsizetype end = m_pos;
    while (end < n && data[end] != QLatin1Char('\r') && data[end] != QLatin1Char('\n'))
        ++end;
    line.length = end - m_pos;
    line.terminated = end < n;
    m_pos = end;
    if (line.terminated) {
        const bool crLf = data[end] == QLatin1Char('\r') && end + 1 < n && data[end + 1] == QLatin1Char('\n');
        m_pos += crLf ? 2 : 1;
    }
    ++m_lineNumber;
    return line;
}

qsizetype longestLineLength(QStringView text)
{
    LineWalker lines(text);
    qsizetype longest = 0;
    while (!lines.atEnd())
        longest = qMax(longest, lines.next().length);
    return longest;
}

int paragraphCount(QStringView text)
{
    int count = 1;
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        else if (c != u'\r' && c != u'\n' && std::ranges::find(kEditorParagraphBreaks, c) == std::end(kEditorParagraphBreaks))
            continue;
        ++count;
    }
    return count;
}

} // namespace files
