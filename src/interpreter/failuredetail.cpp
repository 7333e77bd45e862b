// SPDX-License-Identifier: MIT
#include "interpreter/failuredetail.h"

#include "interpreter/commands.h"
#include "interpreter/commandtable.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"
#include "platform/error.h"

namespace interpreter {

namespace {
using namespace platform;

// A value is shown as far as it helps to recognise it.
constexpr qsizetype kMaxShownValueCharacters = 40;

QString shownValue(const QString &value)
{
    if (value.size() <= kMaxShownValueCharacters)
        return value;
    return value.left(kMaxShownValueCharacters) + QStringLiteral("...");
}

QString argumentDetail(const Command &command, const ArgumentList &args, int index)
{
    return QStringLiteral("argument %1 (%2) is \"%3\"")
        .arg(QString::number(index), argumentName(command, index), shownValue(args.at(index)));
}

QString countDetail(const Command &command, int given)
{
    const int needed = argumentCount(command);
    return QStringLiteral("%1 needs %2 %3, this line has %4")
        .arg(QString(command.keyword), QString::number(needed),
             needed == 1 ? QStringLiteral("argument") : QStringLiteral("arguments"), QString::number(given));
}

bool isFileError(int number)
{
    return number == ErrFileNotFound || number == ErrDeviceUnavailable || number == ErrFileAccess
        || number == ErrPathNotFound || number == ErrInvalidPicture;
}

// The file a picture or path argument named, as the run tried it.
QString fileDetail(const RunState &run, const Command &command, int number)
{
    const int element = command.control.contentElement;
    const QString path = scriptRelativePath(run.path, stripQuotes(run.args.at(element)));
    const QString name = argumentName(command, element);
    if (number == ErrFileAccess)
        return name + QStringLiteral(" could not be read: ") + path;
    if (number == ErrInvalidPicture)
        return name + QStringLiteral(" is in no format Zarvo can read: ") + path;
    return name + QStringLiteral(" not found: ") + path;
}

QString blankBefore(QStringView blanks)
{
    if (blanks.count(QLatin1Char('\t')) == blanks.size())
        return blanks.size() == 1 ? QStringLiteral("a tab") : QStringLiteral("tabs");
    return QStringLiteral("white space");
}
} // namespace

QString failureDetail(const RunState &run, const platform::Error &error)
{
    const ArgumentList &args = run.args;
    const int index = args.lastRead();
    const int number = error.number();
    if (args.size() == 0) {
        return number == ErrInvalidArgument && !run.fileLine.isEmpty()
            ? QStringLiteral("a keyword is followed by a space, and this line has none")
            : QString();
    }
    const Command *command = findCommand(args.keyword());
    if (!command || index < 1)
        return QString();
    if (index >= args.size())
        return number == ErrSubscript ? countDetail(*command, args.size() - 1) : QString();
    if (number == ErrTypeMismatch)
        return argumentDetail(*command, args, index) + QStringLiteral(", not a number");
    if (number == ErrOverflow || number == ErrInvalidPropertyValue || number == ErrInvalidArgument)
        return argumentDetail(*command, args, index);
    if (isFileError(number) && readsFile(*command) && index == command->control.contentElement)
        return fileDetail(run, *command, number);
    return QString();
}

QString unknownKeywordDetail(const QString &keyword)
{
    qsizetype blanks = 0;
    while (blanks < keyword.size() && keyword[blanks].isSpace())
        ++blanks;
    const QString word = keyword.mid(blanks);
    QStringList parts;
    if (blanks > 0) {
        parts << QStringLiteral("%1 before \"%2\": only spaces are trimmed")
                     .arg(blankBefore(QStringView(keyword).left(blanks)), word);
    }
    const QString meant = findCommand(word) ? QString() : suggestKeyword(word);
    if (!meant.isEmpty())
        parts << QStringLiteral("did you mean %1?").arg(meant);
    return parts.join(QStringLiteral("; "));
}

} // namespace interpreter
