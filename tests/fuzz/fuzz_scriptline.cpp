// SPDX-License-Identifier: MIT
// Line splitting, quote stripping and entry splitting on arbitrary bytes.
// The bytes are decoded as a script file is, cut into lines, and each line
// takes the steps a run gives it. Besides crashes, sanitizer reports and
// hangs, the harness stops on any step that breaks what it promises.

#include "files/textencoding.h"
#include "files/textlines.h"
#include "interpreter/scriptline.h"
#include "platform/error.h"

#include <cstdint>
#include <cstdlib>

using namespace interpreter;

namespace {
const QString kDate = QStringLiteral("07/12/2026");

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Whole and in slices of three, the entries are the text cut at every "|".
void checkEntries(const QString &text)
{
    const QStringList whole = splitEntries(text);
    require(text.isEmpty() ? whole.isEmpty() : whole.join(QLatin1Char('|')) == text);
    QStringList sliced;
    splitEntries(text, 3, [&](const QStringList &slice) {
        require(!slice.isEmpty() && slice.size() <= 3);
        sliced += slice;
    });
    require(sliced == whole);
}

// The normalised line as Qt's own replace and split would give it.
void checkSplit(const QString &raw, const SplitLine &split)
{
    QString line = raw;
    line.replace(QLatin1String("Date$"), kDate);
    line = trimSpaces(line);
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    require(split.normalised == line.left(space) + QLatin1String(", ") + line.mid(space + 1));
    require(!split.elements.isEmpty());
}

void checkLine(const QString &raw)
{
    require(!raw.contains(QLatin1Char('\r')) && !raw.contains(QLatin1Char('\n')));
    std::optional<SplitLine> split;
    try {
        split = splitScriptLine(raw, kDate);
    } catch (const platform::Error &error) {
        require(error.number() == platform::ErrInvalidArgument);
        return;
    }
    if (!split)
        return;
    checkSplit(raw, *split);
    for (const QString &element : split->elements) {
        const QString inner = stripQuotes(element);
        require(element.size() < 2 ? inner.isEmpty() : inner == element.mid(1, element.size() - 2));
        checkEntries(inner);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = files::decodeText(bytes).text;
    files::LineWalker lines(text);
    while (!lines.atEnd())
        checkLine(lines.textOf(lines.next()).toString());
    return 0;
}
