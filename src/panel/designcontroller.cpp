// SPDX-License-Identifier: MIT
#include "panel/designcontroller.h"

#include "editor/scripteditor.h"
#include "files/scriptsyntax.h"
#include "interpreter/linehighlight.h"
#include "interpreter/newcontrols.h"
#include "panel/editorlines.h"
#include "panel/mainwindow.h"
#include "toolkit/designsnap.h"
#include "toolkit/livewindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QTextBlock>

namespace panel {

DesignController::DesignController(MainWindow &window, toolkit::LiveWindow &live)
    : QObject(&window), m_window(window), m_live(live)
{
    m_designAction = new QAction(QStringLiteral("&Design Mode"), this);
    m_designAction->setObjectName(QStringLiteral("mDESIGN"));
    m_designAction->setShortcut(QKeySequence(Qt::Key_F9));
    m_designAction->setCheckable(true);
    m_designAction->setEnabled(false);
    connect(m_designAction, &QAction::toggled, this, &DesignController::setDesignMode);

    m_kindsMenu = new QMenu(QStringLiteral("&Add Control"), &window);
    m_kindsMenu->setObjectName(QStringLiteral("mADDCONTROL"));
    m_kindsMenu->setEnabled(false);
    const QStringList kinds = interpreter::newControlKinds();
    for (int kind = 0; kind < kinds.size(); ++kind) {
        m_kindsMenu->addAction(kinds[kind], this, [this, kind] {
            m_armedKind = kind;
            if (toolkit::DesignOverlay *overlay = m_live.designOverlay())
                overlay->setArmed(true);
            m_window.setStatus(QStringLiteral("Design: click in the live window to place the new control."));
        });
    }
    connect(&live, &toolkit::LiveWindow::resizedByUser, this, &DesignController::rewriteWindowSize);
}

void DesignController::setLiveOn(bool on)
{
    if (!on)
        m_designAction->setChecked(false);
    m_designAction->setEnabled(on);
}

bool DesignController::isDragging() const
{
    return m_live.designOverlay() && m_live.designOverlay()->isDragging();
}

void DesignController::setDesignMode(bool on)
{
    m_kindsMenu->setEnabled(on);
    m_armedKind = -1;
    if (on)
        liveWindowShown();
    else
        m_live.setDesignMode(false);
}

void DesignController::liveWindowShown()
{
    if (!m_designAction->isChecked() || !m_live.window())
        return;
    const bool fresh = !m_live.designOverlay();
    m_live.setDesignMode(true);
    toolkit::DesignOverlay *overlay = m_live.designOverlay();
    if (!fresh || !overlay)
        return;
    connect(overlay, &toolkit::DesignOverlay::selectedChanged, this, &DesignController::selectLineOf);
    connect(overlay, &toolkit::DesignOverlay::geometryEdited, this, &DesignController::rewriteGeometry);
    connect(overlay, &toolkit::DesignOverlay::deleteRequested, this, &DesignController::deleteLineOf);
    connect(overlay, &toolkit::DesignOverlay::placeRequested, this, [this](const QPoint &at) {
        placeControl(std::exchange(m_armedKind, -1), at);
    });
    connect(overlay, &toolkit::DesignOverlay::menuRequested, this, &DesignController::chooseKindAt);
}

// The control's creation line, selected in the editor as Ctrl+click
// selects it, but the focus stays in the live window.
void DesignController::selectLineOf(QWidget *control)
{
    if (const toolkit::LiveControlSource *source = m_live.sourceOf(control))
        selectCreationLine(m_window, source->line, source->lineText);
}

void DesignController::rewriteGeometry(QWidget *control, const QRect &geometry, bool byKey)
{
    const toolkit::LiveControlSource *source = m_live.sourceOf(control);
    if (!source)
        return;
    const QString name = control->objectName();
    const bool join = byKey && m_keyRunControl == name && m_keyRunClock.isValid()
        && m_keyRunClock.elapsed() < kKeyRunMilliseconds
        && m_window.editor()->document()->revision() == m_keyRunRevision;
    const interpreter::GeometryNumbers numbers{geometry.x(), geometry.y(), geometry.width(), geometry.height()};
    if (!editLine(source->line, linesOf(control), numbers, join))
        return;
    m_lastEdit.name = name;
    m_keyRunControl = byKey ? name : QString();
    m_keyRunClock.start();
    m_keyRunRevision = m_window.editor()->document()->revision();
}

// What the control's creation line may hold: what made it, or what design
// mode last wrote there, before a live run has made the control again.
QStringList DesignController::linesOf(QWidget *control) const
{
    const toolkit::LiveControlSource *source = m_live.sourceOf(control);
    if (!source)
        return {};
    QStringList texts{source->lineText};
    if (m_lastEdit.name == control->objectName() && m_lastEdit.line == source->line)
        texts.append(m_lastEdit.text);
    return texts;
}

// The window's CreateWindow line takes the size the user gave the window.
void DesignController::rewriteWindowSize(const QSize &outerSize)
{
    const interpreter::GeometryNumbers numbers{std::nullopt, std::nullopt, outerSize.width(), outerSize.height()};
    if (m_live.windowLine() > 0)
        editLine(m_live.windowLine(), {}, numbers, false);
}

// Rewrites the numbers of a line as one edit, or (join) as part of the last
// one; refused, with a word in the status line, when the line is no longer
// what made the control or its numbers cannot be rewritten in place.
bool DesignController::editLine(int line, const QStringList &lineTexts, const interpreter::GeometryNumbers &numbers,
                                bool join)
{
    editing::ScriptEditor *editor = m_window.editor();
    const std::optional<files::PlacedLine> placed = holdingAny(line, lineTexts);
    std::optional<QList<interpreter::TextEdit>> edits;
    if (placed)
        edits = interpreter::geometryEdits(placed->text, numbers);
    if (!edits) {
        refuse(line);
        return false;
    }
    if (edits->isEmpty())
        return true;
    const QTextBlock block = editor->document()->findBlockByNumber(line - 1);
    // The line as the run reads it may start after a byte order mark.
    const int offset = block.position() + int(block.text().size() - placed->text.size());
    QTextCursor cursor(editor->document());
    // An undo puts the editor's cursor where the edit block began: at the
    // numbers, not at the top of the script.
    cursor.setPosition(offset + int(edits->first().start));
    if (join)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    for (const interpreter::TextEdit &edit : *edits) {
        cursor.setPosition(offset + int(edit.start));
        cursor.setPosition(offset + int(edit.start + edit.length), QTextCursor::KeepAnchor);
        cursor.insertText(edit.text);
    }
    cursor.endEditBlock();
    const std::optional<files::PlacedLine> edited = interpreter::editorLine(m_window.runHost(), line);
    m_lastEdit = LastEdit{QString(), line, files::trimmedSpaces(edited->text).toString()};
    return true;
}

// The editor's line of that number when, trimmed, it is one of the texts
// (any text when there are none).
std::optional<files::PlacedLine> DesignController::holdingAny(int line, const QStringList &lineTexts) const
{
    std::optional<files::PlacedLine> placed = interpreter::editorLine(m_window.runHost(), line);
    if (placed && !lineTexts.isEmpty() && !lineTexts.contains(files::trimmedSpaces(placed->text)))
        return std::nullopt;
    return placed;
}

void DesignController::refuse(int line)
{
    m_window.setStatus(QStringLiteral("Design: line %1 is not the line that made this any more; nothing was changed.")
                           .arg(line));
}

// Takes the control's creation line away, line break included, as one edit.
void DesignController::deleteLineOf(QWidget *control)
{
    const toolkit::LiveControlSource *source = m_live.sourceOf(control);
    editing::ScriptEditor *editor = m_window.editor();
    if (!source || !holdingAny(source->line, linesOf(control))) {
        refuse(source ? source->line : 0);
        return;
    }
    const QTextBlock block = editor->document()->findBlockByNumber(source->line - 1);
    QTextCursor cursor(block);
    if (block.next().isValid()) {
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    } else if (block.previous().isValid()) {
        cursor.setPosition(block.position() - 1);
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    } else {
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
    m_live.designOverlay()->setSelected(nullptr);
}

// The right mouse button offers the kinds; the one chosen goes where it was
// pressed.
void DesignController::chooseKindAt(const QPoint &at)
{
    QMenu kinds;
    for (const QString &kind : interpreter::newControlKinds())
        kinds.addAction(kind);
    toolkit::DesignOverlay *overlay = m_live.designOverlay();
    if (QAction *chosen = kinds.exec(overlay->mapToGlobal(at)))
        placeControl(int(kinds.actions().indexOf(chosen)), at);
}

// A new control's line goes after the last creation line (the CreateWindow
// line, or the script's end, when there is none), indented as that line,
// at the place clicked on the grid (Alt: exactly there).
void DesignController::placeControl(int kind, const QPoint &at)
{
    if (kind < 0)
        return;
    const bool snapping = !QGuiApplication::keyboardModifiers().testFlag(Qt::AltModifier);
    const QPoint place = snapping ? QPoint(toolkit::onGrid(at.x()), toolkit::onGrid(at.y())) : at;
    const QString name = unusedName(kind);
    QTextDocument *document = m_window.editor()->document();
    const int after = lineAfterControls();
    const QTextBlock anchor = after > 0 ? document->findBlockByNumber(after - 1) : document->lastBlock();
    const QString anchorText = anchor.text();
    qsizetype spaces = 0;
    while (spaces < anchorText.size() && anchorText[spaces] == u' ')
        ++spaces;
    QTextCursor cursor(anchor);
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.beginEditBlock();
    cursor.insertBlock();
    cursor.insertText(anchorText.left(spaces) + interpreter::newControlLine(kind, name, place));
    cursor.endEditBlock();
    m_live.selectAfterUpdate(name);
}

// The kind's prefix and the lowest number that no control of the live window
// and no word of the script has yet: cmd1, cmd2, ...
QString DesignController::unusedName(int kind) const
{
    const QString prefix = interpreter::newControlPrefix(kind);
    const QString script = m_window.editor()->text();
    for (int number = 1;; ++number) {
        const QString name = prefix + QString::number(number);
        const QRegularExpression word(QStringLiteral("\\b") + name + QStringLiteral("\\b"),
                                      QRegularExpression::CaseInsensitiveOption);
        if (!m_live.control(name) && !script.contains(word))
            return name;
    }
}

int DesignController::lineAfterControls() const
{
    int last = m_live.windowLine();
    for (QWidget *control : m_live.controlsInScriptOrder()) {
        if (const toolkit::LiveControlSource *source = m_live.sourceOf(control))
            last = qMax(last, source->line);
    }
    return last;
}

} // namespace panel
