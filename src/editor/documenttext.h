#pragma once

#include <QStringView>
#include <functional>

class QTextDocument;

namespace editing {

// Hands the document's raw text (toRawText(): paragraphs separated by
// U+2029, every other character as typed) to visit one line at a time, in
// order, without building the whole text: each line as its own view, and
// whether a paragraph separator follows it. Stops early, returning false,
// once visit returns false.
bool forEachRawLine(const QTextDocument &document, const std::function<bool(QStringView line, bool lastLine)> &visit);

} // namespace editing
