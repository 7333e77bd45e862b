// SPDX-License-Identifier: MIT
#pragma once

#include <QGuiApplication>

namespace panel {

// The busy cursor of a compile run, from construction to destruction, so
// that every way out of the run restores the cursor.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// The normal cursor back for as long as a window of the run waits for the
// user (the step window, a report's box): it must not look busy.
class IdleCursor {
public:
    IdleCursor() : m_wasBusy(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_wasBusy)
            QGuiApplication::restoreOverrideCursor();
    }
    ~IdleCursor()
    {
        if (m_wasBusy)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    IdleCursor(const IdleCursor &) = delete;
    IdleCursor &operator=(const IdleCursor &) = delete;

private:
    bool m_wasBusy;
};

} // namespace panel
