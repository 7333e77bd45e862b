// SPDX-License-Identifier: MIT
#include "editor/findbar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>

namespace editing {

namespace {
constexpr int kMarginPixels = 2;

QToolButton *makeToolButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setAutoRaise(true);
    return button;
}
} // namespace

FindBar::FindBar(QPlainTextEdit &editor, QWidget *parent) : QWidget(parent), m_view(editor), m_plainText(&editor)
{
    build();
}

FindBar::FindBar(QTextEdit &view, QWidget *parent) : QWidget(parent), m_view(view), m_richText(&view)
{
    build();
}

void FindBar::build()
{
    setObjectName(QStringLiteral("findBar"));
    setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMarginPixels, kMarginPixels, kMarginPixels, kMarginPixels);
    auto *label = new QLabel(QStringLiteral("Find:"), this);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("txtFind"));
    m_field->installEventFilter(this);
    label->setBuddy(m_field);
    QToolButton *previous = makeToolButton(this, "cmdFindPrevious", QStringLiteral("&Previous"));
    QToolButton *next = makeToolButton(this, "cmdFindNext", QStringLiteral("&Next"));
    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    m_matchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("lblFindResult"));
    QToolButton *closer = makeToolButton(this, "cmdFindClose", QString());
    closer->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closer->setToolTip(QStringLiteral("Close (Escape)"));
    for (QWidget *part : std::initializer_list<QWidget *>{label, m_field, previous, next, m_matchCase, m_result})
        layout->addWidget(part, part == m_field ? 1 : 0);
    layout->addStretch();
    layout->addWidget(closer);

    connect(m_field, &QLineEdit::textEdited, this, [this] { find(false, true); });
    connect(previous, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(next, &QToolButton::clicked, this, &FindBar::findNext);
    connect(closer, &QToolButton::clicked, this, &FindBar::dismiss);
    m_view.installEventFilter(this);
    hide();
}

QTextCursor FindBar::textCursor() const
{
    return m_plainText ? m_plainText->textCursor() : m_richText->textCursor();
}

void FindBar::setTextCursor(const QTextCursor &cursor)
{
    if (m_plainText)
        m_plainText->setTextCursor(cursor);
    else
        m_richText->setTextCursor(cursor);
}

QTextDocument *FindBar::document() const
{
    return m_plainText ? m_plainText->document() : m_richText->document();
}

bool FindBar::findAgain(bool backward)
{
    if (m_field->text().isEmpty()) {
        open();
        return false;
    }
    find(backward, false);
    return true;
}

void FindBar::open()
{
    const QString selected = textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_field->setText(selected);
    m_result->clear();
    show();
    m_field->selectAll();
    m_field->setFocus(Qt::ShortcutFocusReason);
}

void FindBar::dismiss()
{
    hide();
    m_view.setFocus(Qt::OtherFocusReason);
}

bool FindBar::find(bool backward, bool fromMatchStart)
{
    const QString needle = m_field->text();
    if (needle.isEmpty()) {
        m_result->clear();
        return false;
    }
    QTextDocument::FindFlags flags;
    if (backward)
        flags |= QTextDocument::FindBackward;
    if (m_matchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    QTextCursor from = textCursor();
    if (fromMatchStart)
        from.setPosition(from.selectionStart());
    QTextDocument *text = document();
    QTextCursor found = text->find(needle, from, flags);
    if (found.isNull()) {
        // Wrap around: from the other end of the text.
        QTextCursor edge(text);
        edge.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        found = text->find(needle, edge, flags);
    }
    m_result->setText(found.isNull() ? QStringLiteral("Not found") : QString());
    if (found.isNull())
        return false;
    setTextCursor(found);
    return true;
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        dismiss();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_field && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        find(key->modifiers().testFlag(Qt::ShiftModifier), false);
        return true;
    }
    if (watched == &m_view && key->key() == Qt::Key_Escape && isVisible()) {
        dismiss();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace editing
