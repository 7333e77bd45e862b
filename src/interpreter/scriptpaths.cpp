// SPDX-License-Identifier: MIT
#include "interpreter/scriptpaths.h"

#include "files/textlines.h"
#include "interpreter/commandtable.h"
#include "interpreter/scriptline.h"

#include <QDir>

namespace interpreter {

namespace {
// The path a line names, empty when it names none or an absolute one.
QString relativePathOf(const QString &line)
{
    const std::optional<SplitLine> split = splitScriptLineQuietly(line);
    if (!split)
        return QString();
    const Command *command = findCommand(split->elements.value(0));
    if (!command || !readsFile(*command))
        return QString();
    const int element = command->control.contentElement;
    if (element >= split->elements.size())
        return QString();
    const QString path = stripQuotes(split->elements.at(element));
    return QDir::isAbsolutePath(path) ? QString() : path;
}
} // namespace

QStringList relativePathsNamed(const QString &script)
{
    QStringList named;
    files::LineWalker lines(script);
    while (!lines.atEnd()) {
        const QString path = relativePathOf(lines.textOf(lines.next()).toString());
        if (!path.isEmpty() && !named.contains(path))
            named << path;
    }
    return named;
}

} // namespace interpreter
