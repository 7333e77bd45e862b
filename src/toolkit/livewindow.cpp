// SPDX-License-Identifier: MIT
#include "toolkit/livewindow.h"

#include "platform/units.h"
#include "toolkit/accessiblenames.h"
#include "toolkit/controls.h"
#include "toolkit/designoverlay.h"
#include "toolkit/liveoverlay.h"
#include "toolkit/loadedwindows.h"
#include "toolkit/outputwindowwidget.h"
#include "toolkit/uservalues.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSet>
#include <cmath>

namespace toolkit {

namespace {
// A window manager sizes a window in many steps; the script's numbers follow
// once the size has stood still this long.
constexpr int kUserResizeSettleMilliseconds = 300;
} // namespace

LiveWindow::LiveWindow(QObject *parent) : QObject(parent)
{
    m_userResize.setSingleShot(true);
    m_userResize.setInterval(kUserResizeSettleMilliseconds);
    connect(&m_userResize, &QTimer::timeout, this, &LiveWindow::checkUserSize);
}

LiveWindow::~LiveWindow() { close(); }

OutputWindowWidget *LiveWindow::stage(const QHash<QString, LiveControlSource> &sources) const
{
    auto *staged = new OutputWindowWidget;
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        const auto source = sources.constFind(it.key());
        if (it->entry.widget && source != sources.cend() && source->recipe == it->source.recipe)
            staged->offerKeptControl(it.key(), it->entry);
    }
    return staged;
}

void LiveWindow::commit(OutputWindowWidget *staged, const QHash<QString, LiveControlSource> &sources, int windowLine)
{
    m_windowLine = windowLine;
    if (!m_window) {
        adoptAsWindow(staged);
        QList<QWidget *> fresh;
        takeControls(staged, sources, fresh);
        nameControls(m_window);
        followSelection(QString());
        return;
    }
    const QString selectedKey = m_design && m_design->selected()
        ? controlNameKey(m_design->selected()->objectName()) : QString();
    const QHash<QString, LiveControl> before = m_controls;
    QList<QWidget *> fresh;
    const QList<QWidget *> ordered = takeControls(staged, sources, fresh);
    for (const QWidget *widget : fresh) {
        const QString key = controlNameKey(widget->objectName());
        keepUserValue(before.value(key), m_controls[key]);
    }
    const QSet<QWidget *> shown(ordered.cbegin(), ordered.cend());
    bool removed = false;
    for (const LiveControl &control : before) {
        if (control.entry.widget && !shown.contains(control.entry.widget)) {
            delete control.entry.widget.data();
            removed = true;
        }
    }
    restack(ordered, fresh);
    // A new or a removed label may name other controls now.
    if (removed || !fresh.isEmpty())
        nameControls(m_window);
    applyWindow(*staged);
    delete staged;
    followSelection(selectedKey);
}

// The design selection follows its control into the update, quietly; a
// control asked for by name is selected as the user would select it.
void LiveWindow::followSelection(const QString &selectedKey)
{
    if (!m_design)
        return;
    m_design->raise();
    if (!m_selectAfterUpdate.isEmpty()) {
        m_design->setSelected(control(std::exchange(m_selectAfterUpdate, QString())));
        return;
    }
    if (!selectedKey.isEmpty())
        m_design->keepSelected(m_controls.value(selectedKey).entry.widget);
}

QList<QWidget *> LiveWindow::controlsInScriptOrder() const
{
    QList<QWidget *> controls;
    controls.reserve(m_ordered.size());
    for (const QPointer<QWidget> &control : m_ordered) {
        if (control)
            controls.append(control);
    }
    return controls;
}

QWidget *LiveWindow::control(const QString &name) const
{
    return m_controls.value(controlNameKey(name)).entry.widget;
}

void LiveWindow::setDesignMode(bool on)
{
    if (!on || !m_window) {
        delete m_design.data();
        return;
    }
    if (m_design)
        return;
    const auto widthOnly = [this](QWidget *control) {
        return hasFixedHeight(m_controls.value(controlNameKey(control->objectName())).entry.kind);
    };
    m_design = new DesignOverlay(m_window.data(), [this] { return controlsInScriptOrder(); }, widthOnly);
}

QSize LiveWindow::scriptOuterSize() const
{
    return QSize(int(std::lround(m_placement.width / platform::twipsPerPixelX())),
                 int(std::lround(m_placement.height / platform::twipsPerPixelY())));
}

void LiveWindow::checkUserSize()
{
    if (m_window && m_design && m_window->frameGeometry().size() != scriptOuterSize())
        Q_EMIT resizedByUser(m_window->frameGeometry().size());
}

// The staged window's controls become the window's: new ones move into it,
// kept ones are there already. Returns them in the script's order and fills
// fresh with the new ones.
QList<QWidget *> LiveWindow::takeControls(OutputWindowWidget *staged, const QHash<QString, LiveControlSource> &sources,
                                          QList<QWidget *> &fresh)
{
    QHash<QString, LiveControl> previous = std::exchange(m_controls, {});
    m_keyByLine.clear();
    QList<QWidget *> ordered;
    ordered.reserve(staged->controlCount());
    const bool sameWindow = m_window == staged;
    for (const QString &key : staged->controlKeys()) {
        OutputWindowWidget::ControlEntry entry = staged->findControlByKey(key);
        QWidget *widget = entry.widget;
        LiveControl control{entry, sources.value(key), {}};
        control.entry.kept = false;
        if (entry.kept) {
            control.scriptValue = previous.value(key).scriptValue;
        } else {
            control.scriptValue = readControlValue(widget, entry.kind);
            if (!sameWindow) {
                const bool visible = !widget->isHidden();
                widget->setParent(m_window);
                widget->setVisible(visible);
                fresh.append(widget);
            }
        }
        m_keyByLine.insert(control.source.line, key);
        m_controls.insert(key, control);
        ordered.append(widget);
    }
    m_ordered = QList<QPointer<QWidget>>(ordered.cbegin(), ordered.cend());
    if (!sameWindow)
        m_window->adoptControls(*staged);
    return ordered;
}

// A control built again in place of one the user had changed gets the
// user's value, when its name, kind and creation line are the same.
void LiveWindow::keepUserValue(const LiveControl &before, LiveControl &now) const
{
    const int kind = before.entry.kind;
    if (!before.entry.widget || kind != now.entry.kind || before.source.lineText != now.source.lineText
        || !before.scriptValue)
        return;
    const std::optional<ControlValue> shown = readControlValue(before.entry.widget, kind);
    if (shown && !sameValue(*shown, *before.scriptValue))
        writeControlValue(now.entry.widget, kind, *shown);
}

// Controls stack and take the focus in the script's order, as a fresh window
// would have them. A new control goes under the next one; kept controls
// keep their order unless lines were moved, which restacks them all.
void LiveWindow::restack(const QList<QWidget *> &ordered, const QList<QWidget *> &fresh)
{
    const QSet<QWidget *> isFresh(fresh.cbegin(), fresh.cend());
    for (qsizetype i = ordered.size() - 2; i >= 0; --i) {
        if (isFresh.contains(ordered[i]))
            ordered[i]->stackUnder(ordered[i + 1]);
    }
    const QSet<QObject *> controls(ordered.cbegin(), ordered.cend());
    QList<QWidget *> stacked;
    stacked.reserve(ordered.size());
    for (QObject *child : m_window->children()) {
        if (controls.contains(child))
            stacked.append(static_cast<QWidget *>(child));
    }
    const bool reordered = stacked != ordered;
    if (reordered) {
        for (QWidget *widget : ordered)
            widget->raise();
    }
    // Each new control follows the one before it; a new first control has
    // none, and the whole chain is laid again.
    const bool wholeChain = reordered || (!ordered.isEmpty() && isFresh.contains(ordered.first()));
    for (qsizetype i = 1; i < ordered.size(); ++i) {
        if (wholeChain || isFresh.contains(ordered[i]))
            QWidget::setTabOrder(ordered[i - 1], ordered[i]);
    }
    m_overlay->raise();
    if (m_design)
        m_design->raise();
}

void LiveWindow::adoptAsWindow(OutputWindowWidget *staged)
{
    m_window = staged;
    staged->setAttribute(Qt::WA_ShowWithoutActivating);
    registerLoadedWindow(staged);
    m_overlay = new LiveOverlay(staged);
    // Ctrl+click reaches the window's controls and their parts first.
    qApp->installEventFilter(this);
    connect(staged, &QObject::destroyed, this, &LiveWindow::forget);
    m_placement = Placement{staged->leftTwips(), staged->topTwips(), staged->widthTwips(), staged->heightTwips(),
                            staged->isPositioned()};
    staged->show();
    staged->reapplyGeometry();
}

// The script's place and size, where they changed: the user may have moved
// or sized the window since, and it stays so until the script's own numbers
// change. Title and border follow the script.
void LiveWindow::applyWindow(const OutputWindowWidget &staged)
{
    OutputWindowWidget &window = *m_window;
    const Placement script{staged.leftTwips(), staged.topTwips(), staged.widthTwips(), staged.heightTwips(),
                           staged.isPositioned()};
    const bool moved = script.positioned
        && (!m_placement.positioned || script.left != m_placement.left || script.top != m_placement.top);
    const bool resized = script.width != m_placement.width || script.height != m_placement.height;
    if (moved)
        window.setOuterGeometry(script.left, script.top, script.width, script.height, true);
    else if (resized)
        window.setOuterSize(script.width, script.height);
    m_placement = script;
    if (window.windowTitle() != staged.windowTitle())
        window.setWindowTitle(staged.windowTitle());
    const bool frameless = staged.windowFlags().testFlag(Qt::FramelessWindowHint);
    if (frameless != window.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        // A change of flags hides the window.
        window.setWindowFlag(Qt::FramelessWindowHint, frameless);
        window.show();
    }
}

void LiveWindow::close()
{
    if (m_window)
        unloadWindow(m_window);
    forget();
}

void LiveWindow::forget()
{
    qApp->removeEventFilter(this);
    m_userResize.stop();
    m_ordered.clear();
    m_controls.clear();
    m_keyByLine.clear();
    m_placement = {};
    m_windowLine = 0;
}

void LiveWindow::setErrorText(const QString &text)
{
    if (m_overlay)
        m_overlay->setStripText(text);
}

QString LiveWindow::errorText() const { return m_overlay ? m_overlay->stripText() : QString(); }

QWidget *LiveWindow::controlAtLine(int line, const QString &lineText) const
{
    const auto key = m_keyByLine.constFind(line);
    if (key == m_keyByLine.cend())
        return nullptr;
    const LiveControl control = m_controls.value(*key);
    return control.source.lineText == lineText ? control.entry.widget.data() : nullptr;
}

void LiveWindow::outline(QWidget *control)
{
    // Design mode's selection frames its control already.
    if (m_design && control == m_design->selected())
        control = nullptr;
    if (m_overlay)
        m_overlay->setOutlined(control);
}

const LiveControlSource *LiveWindow::sourceOf(const QWidget *control) const
{
    if (!control || !m_window || control->parentWidget() != m_window)
        return nullptr;
    const auto found = m_controls.constFind(controlNameKey(control->objectName()));
    return found != m_controls.cend() && found->entry.widget == control ? &found->source : nullptr;
}

void LiveWindow::emitLineOf(QWidget *widget)
{
    while (widget && widget != m_window && widget->parentWidget() != m_window)
        widget = widget->parentWidget();
    if (const LiveControlSource *source = sourceOf(widget))
        Q_EMIT lineClicked(source->line, source->lineText);
    else
        Q_EMIT lineClicked(m_windowLine, QString());
}

bool LiveWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_window && type == QEvent::Close && event->spontaneous()) {
        // The window closes and deletes itself: nothing may unload it now.
        m_window = nullptr;
        forget();
        Q_EMIT closedByUser();
        return false;
    }
    if (watched == m_window && type == QEvent::Resize && m_design)
        m_userResize.start();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    // In design mode a click selects, whatever the keys held.
    if (!m_window || m_design || !widget || widget->window() != m_window
        || !mouse->modifiers().testFlag(Qt::ControlModifier))
        return false;
    if (type == QEvent::MouseButtonPress)
        emitLineOf(widget);
    return true;
}

} // namespace toolkit
