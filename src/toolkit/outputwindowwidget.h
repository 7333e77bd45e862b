// SPDX-License-Identifier: MIT
#pragma once

#include "toolkit/runbudget.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <optional>

namespace toolkit {

// The output window design wTemplate: caption "Form1", sizable with minimise
// and maximise buttons, a 268 x 146 pixel client area at 96 DPI, controls
// placed in pixels of the client area. Closing it unloads it and tells the
// interpreter nothing.
class OutputWindowWidget : public QWidget {
    Q_OBJECT
public:
    OutputWindowWidget();

    // Outer frame position and size in twips, as last set.
    float leftTwips() const { return m_left; }
    float topTwips() const { return m_top; }
    float widthTwips() const { return m_width; }
    float heightTwips() const { return m_height; }
    void setOuterGeometry(float left, float top, float width, float height, bool positioned);
    // Sizes the frame and leaves it where it is.
    void setOuterSize(float width, float height);
    // Places the frame again once the platform reports its true margins.
    void reapplyGeometry();
    // The outer size in pixels: the inside the window has where the window
    // system draws no frame around it (X11 without a window manager).
    QSize outerSize() const;

    // Sets the title. Once the window has a window-system window each change
    // of title is a round trip to the window system (an X server), so while
    // a run goes on the last title is kept here and shown by showTitle().
    void setTitle(const QString &title);
    // Shows a title kept back; no effect when none is.
    void showTitle();

    // A control registered under a name with the index of its kind.
    struct ControlEntry {
        QPointer<QWidget> widget;
        int kind = -1;
        // What its pictures and entries count against the run's memory budget.
        qint64 chargedBytes = 0;
        // In a staged window: a control of the live window that the live run
        // keeps as it is, its lines unchanged, so the run's commands skip it.
        bool kept = false;
    };
    ControlEntry findControl(const QString &name) const;
    qsizetype controlCount() const { return m_controls.size(); }
    // The same by the key of a name (controlNameKey()), for a caller that
    // looks a name up more than once.
    ControlEntry findControlByKey(const QString &key) const { return m_controls.value(key); }
    void registerControlByKey(const QString &key, const ControlEntry &entry);
    // The keys of the controls' names in the order they were registered.
    const QStringList &controlKeys() const { return m_keys; }
    // Holds the controls another window registered, in their order; their
    // widgets stay where they are.
    void adoptControls(const OutputWindowWidget &other);
    // Adds bytes to what the control of that name has charged.
    void addChargedBytes(const QString &name, qint64 bytes);

    // A control of the live window that the next live run may keep, offered
    // under the key of its name; the run takes it when it creates a control
    // of that name and kind (OutputWindow::addControl).
    void offerKeptControl(const QString &key, const ControlEntry &entry);
    std::optional<ControlEntry> takeKeptControl(const QString &key, int kind);
    // Whether the script has placed the window (set its left or top).
    bool isPositioned() const { return m_positioned; }

    // What the run that builds this window may still add to it.
    RunBudget &budget() { return m_budget; }

private:
    void resizeToOuterSize();

    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_positioned = false;
    std::optional<QString> m_keptTitle;
    QHash<QString, ControlEntry> m_controls; // keyed by name, A-Z folded
    QStringList m_keys;
    QHash<QString, ControlEntry> m_keptOffers; // keyed as m_controls
    RunBudget m_budget;
};

// The key under which a window holds a control's name: A-Z folded to upper case.
QString controlNameKey(const QString &name);

// Whether two texts name the same control: names are compared with the
// letter case of A-Z ignored, and only of A-Z.
bool sameControlName(const QString &a, const QString &b);

// Checks a size and position in pixels against what the toolkit can hold
// without exhausting memory; raises 380 otherwise.
void checkPixelGeometry(double left, double top, double width, double height);

} // namespace toolkit
