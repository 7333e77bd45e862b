// SPDX-License-Identifier: MIT
#pragma once

#include "toolkit/accessiblenames.h"
#include "toolkit/controls.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace toolkit {

class OutputWindowWidget;

// A handle on one output window made from the design wTemplate. The handle
// starts empty; load() creates the window, hidden. Position and size are
// twips of the outer frame, as single-precision numbers.
class OutputWindow {
public:
    OutputWindow();
    ~OutputWindow();
    OutputWindow(const OutputWindow &) = delete;
    OutputWindow &operator=(const OutputWindow &) = delete;

    // Creates and loads a new hidden window when the handle holds none.
    void load();
    // Unloads the window with all its controls; no effect when none is loaded.
    void unload();
    // Makes the handle hold a window built elsewhere (a live run's staged
    // window) instead of loading one; detach() gives it back.
    void attach(OutputWindowWidget *window);
    OutputWindowWidget *detach();

    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);
    // The title. On a window already shown, the new title shows at the next
    // show() or showKeptChanges().
    void setCaption(const QString &caption);
    // 0 = no border; any other value keeps the sizable border.
    void setBorderStyle(int style);
    // Makes the window visible and shows it modeless, without an owner. A
    // staged window only takes its kept title: the live window shows it.
    void show();
    // Shows what the window keeps back while a run goes on (its last title):
    // the run calls it wherever the user sees the window, at a step pause,
    // before a failure report and at the end. No effect without a window.
    void showKeptChanges();

    // Adds a hidden control of a class under a name. Raises 5 for a name the
    // toolkit does not accept and 727 for a name the window already holds.
    // A control of that name and kind offered as kept is taken instead of a
    // new one, charged to the budget as it was charged when it was made.
    Control addControl(const QString &classId, const QString &name);
    // The control of that name (letter case of A-Z ignored); 730 when none.
    Control control(const QString &name) const;

    // Names the controls once the run has built the window (accessiblenames.h);
    // returns the visible input controls that no label names.
    QList<UnlabelledControl> nameControls();

private:
    // The window, created and loaded first when the handle holds none.
    OutputWindowWidget &loaded();

    QPointer<OutputWindowWidget> m_window;
};

} // namespace toolkit
