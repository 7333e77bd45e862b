// SPDX-License-Identifier: MIT
#pragma once

#include "toolkit/controlvalues.h"
#include "toolkit/designoverlay.h"
#include "toolkit/liveoverlay.h"
#include "toolkit/outputwindowwidget.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>

class QWidget;

namespace toolkit {

// Where a control of the live window comes from, as a live run read it.
struct LiveControlSource {
    // Every line of the script that makes or changes the control, as the
    // run reads them, in order: while these are unchanged the control is.
    QString recipe;
    int line = 0;     // its creation line's number, from 1
    QString lineText; // its creation line, trimmed of spaces
};

// The live window: one output window (wTemplate) that shows the last
// successful live run and is updated in place by the next one. A live run
// builds into a staged window that is never shown; controls whose lines did
// not change are kept from the window on screen instead of being built
// again, and commit() moves what the run built into the window on screen.
// What the user typed or chose in a control survives its rebuilding while
// its name, kind and creation line stay. The window never takes the focus.
class LiveWindow : public QObject {
    Q_OBJECT
public:
    explicit LiveWindow(QObject *parent = nullptr);
    ~LiveWindow() override;

    // The window on screen; null while there is none.
    OutputWindowWidget *window() const { return m_window; }

    // A new hidden window for a live run of a script whose controls come
    // from sources (keyed by controlNameKey): each control of the window on
    // screen whose recipe is unchanged is offered to the run as kept.
    OutputWindowWidget *stage(const QHash<QString, LiveControlSource> &sources) const;
    // Puts what a successful live run built into the window on screen (the
    // staged window becomes it when there is none yet) and takes the staged
    // window away. windowLine: the number of the script's last CreateWindow
    // line, 0 without one.
    void commit(OutputWindowWidget *staged, const QHash<QString, LiveControlSource> &sources, int windowLine);
    // Closes the window on screen; no effect when there is none.
    void close();

    // The strip along the window's bottom edge; empty text removes it.
    void setErrorText(const QString &text);
    QString errorText() const;
    LiveOverlay *overlay() const { return m_overlay; }

    // The control made by the line of that number, when it still holds that
    // text; null otherwise.
    QWidget *controlAtLine(int line, const QString &lineText) const;
    // Frames a control of the window; null for none.
    void outline(QWidget *control);
    // The source of a control of the window; null for any other widget.
    const LiveControlSource *sourceOf(const QWidget *control) const;
    int windowLine() const { return m_windowLine; }
    // The window's controls in the script's order.
    QList<QWidget *> controlsInScriptOrder() const;
    // The control of that name; null when the window has none.
    QWidget *control(const QString &name) const;

    // Design mode: a DesignOverlay over the controls while it is on. A
    // control selected in it stays selected when an update builds it again.
    void setDesignMode(bool on);
    DesignOverlay *designOverlay() const { return m_design; }
    // Selects the control of that name once an update has made it.
    void selectAfterUpdate(const QString &name) { m_selectAfterUpdate = name; }
    // The window's outer size in pixels as the script last gave it.
    QSize scriptOuterSize() const;

Q_SIGNALS:
    // Ctrl+click on a control: the line that made it; on the window's own
    // background: the window's CreateWindow line (0 without one).
    void lineClicked(int line, const QString &lineText);
    // The user closed the window (its close box).
    void closedByUser();
    // In design mode, the user gave the window another outer size (pixels).
    void resizedByUser(const QSize &outerSize);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct LiveControl {
        OutputWindowWidget::ControlEntry entry;
        LiveControlSource source;
        // What the script left in it, to tell what the user changed since.
        std::optional<ControlValue> scriptValue;
    };
    // The window's place and size as the script last gave them, in twips.
    struct Placement {
        float left = 0, top = 0, width = 0, height = 0;
        bool positioned = false;
    };

    void adoptAsWindow(OutputWindowWidget *staged);
    QList<QWidget *> takeControls(OutputWindowWidget *staged, const QHash<QString, LiveControlSource> &sources,
                                  QList<QWidget *> &fresh);
    void keepUserValue(const LiveControl &before, LiveControl &now) const;
    void restack(const QList<QWidget *> &ordered, const QList<QWidget *> &fresh);
    void applyWindow(const OutputWindowWidget &staged);
    void forget();
    void emitLineOf(QWidget *widget);
    void followSelection(const QString &selectedKey);
    void checkUserSize();

    QPointer<OutputWindowWidget> m_window;
    QPointer<LiveOverlay> m_overlay;
    QPointer<DesignOverlay> m_design;
    QList<QPointer<QWidget>> m_ordered;
    QString m_selectAfterUpdate;
    QTimer m_userResize;
    QHash<QString, LiveControl> m_controls; // keyed by controlNameKey
    QHash<int, QString> m_keyByLine;
    Placement m_placement;
    int m_windowLine = 0;
};

} // namespace toolkit
