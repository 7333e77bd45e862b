#pragma once

#include "toolkit/controlvalues.h"

#include <QList>
#include <QString>

namespace cli {

// A value in POSIX shell quoting, safe for eval: between single quotes, each
// embedded ' written as '\'' and everything else, newlines included, as is.
QString shellQuoted(const QString &value);

// The control, if any, whose value would take the name of the line that
// names the button: its name, or empty text.
QString controlNamedButton(const QList<toolkit::ControlValue> &values);

// What --run prints once the window has closed: one name='value' line per
// control in script order, a check box as 1 or 0, then button='NAME' (empty
// when no button closed the window).
QString shellAnswer(const QList<toolkit::ControlValue> &values, const QString &button);

// The same as one JSON object on one line: every value a string except a
// check box's, which is true or false.
QString jsonAnswer(const QList<toolkit::ControlValue> &values, const QString &button);

} // namespace cli
