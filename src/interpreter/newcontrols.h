// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

namespace interpreter {

// The control kinds design mode can add, by their names for the user
// ("Button", "Label", ...), in menu order.
QStringList newControlKinds();

// The prefix of the names a new control of a kind gets: "cmd" for a
// button, "lbl" for a label, ...
QString newControlPrefix(int kind);

// A creation line for a new control of a kind at a place, with the kind's
// default size and a placeholder text under the name given.
QString newControlLine(int kind, const QString &name, const QPoint &at);

} // namespace interpreter
