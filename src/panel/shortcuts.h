#pragma once

#include <QKeySequence>
#include <QList>

namespace panel {

// The keys of an action: the platform's standard keys for it, with wanted
// added first where the platform's scheme has no such key (some schemes
// have no Save As or Quit key).
QList<QKeySequence> keysFor(QKeySequence::StandardKey standard, const QKeySequence &wanted);

} // namespace panel
