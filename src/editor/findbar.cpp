#include "editor/findbar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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

FindBar::FindBar(QPlainTextEdit &editor, QWidget *parent) : QWidget(parent), m_editor(editor)
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
    hide();
}

void FindBar::open()
{
    const QString selected = m_editor.textCursor().selectedText();
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
    m_editor.setFocus(Qt::OtherFocusReason);
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
    QTextCursor from = m_editor.textCursor();
    if (fromMatchStart)
        from.setPosition(from.selectionStart());
    QTextDocument *document = m_editor.document();
    QTextCursor found = document->find(needle, from, flags);
    if (found.isNull()) {
        // Wrap around: from the other end of the text.
        QTextCursor edge(document);
        edge.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        found = document->find(needle, edge, flags);
    }
    m_result->setText(found.isNull() ? QStringLiteral("Not found") : QString());
    if (found.isNull())
        return false;
    m_editor.setTextCursor(found);
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
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            find(key->modifiers().testFlag(Qt::ShiftModifier), false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace editing
