// SPDX-License-Identifier: MIT
#pragma once

#include "toolkit/controlvalues.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace cli {

// A value in POSIX shell quoting, safe for eval: between single quotes, each
// embedded ' written as '\'' and everything else, newlines included, as is.
QString shellQuoted(const QString &value);

// The control, if any, whose value would take the name of the line that
// names the button: its name, or empty text.
QString controlNamedButton(const QList<toolkit::ControlValue> &values);

// Whether eval of name='...' would set a variable that the shell or the
// dynamic loader reads: IFS, PATH, PS4, LD_PRELOAD and the like in any letter
// case, and, unless the name carries the caller's own prefix, any name in
// the environment's style (capitals, digits and _ alone).
bool readByShellOrLoader(const QString &name, bool prefixed);

// What --run prints once the window has closed: one name='value' line per
// control in script order, a check box as 1 or 0, then button='NAME' (empty
// when no button closed the window). Every name starts with prefix. A file
// name's bytes that are not UTF-8 are written as they are, the real name.
QByteArray shellAnswer(const QList<toolkit::ControlValue> &values, const QString &button,
                       const QString &prefix = {});

// The same as one JSON object on one line: every value a string except a
// check box's, which is true or false. JSON is UTF-8: a file name's bytes
// that are not become U+FFFD.
QByteArray jsonAnswer(const QList<toolkit::ControlValue> &values, const QString &button,
                      const QString &prefix = {});

} // namespace cli
