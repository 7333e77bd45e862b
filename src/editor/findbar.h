// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QAbstractScrollArea;
class QLineEdit;
class QPlainTextEdit;
class QTextCursor;
class QTextDocument;
class QTextEdit;

namespace editing {

// The find bar of an editor or a text view: a search field, Previous and
// Next, and "Match case", off at first so that searches ignore letter case.
// Searches wrap around the text. Typing searches from the start of the
// current match; Return finds the next match, Shift+Return the previous one;
// Escape, in the bar or in the text, closes the bar and gives the text back
// its focus. The owner places the bar, below the text and its scroll bar.
class FindBar : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(QPlainTextEdit &editor, QWidget *parent = nullptr);
    explicit FindBar(QTextEdit &view, QWidget *parent = nullptr);

    // Shows the bar, takes the editor's selection as the search text when it
    // lies on one line, and puts the focus in the search field.
    void open();
    // Hides the bar and gives the editor the focus.
    void dismiss();
    // Selects the next (or the previous) match after (before) the editor's
    // selection, wrapping around; returns false when the text has none.
    bool findNext() { return find(false, false); }
    bool findPrevious() { return find(true, false); }
    // F3 and Shift+F3: the next or previous match of the search text, or the
    // bar opened when there is no search text yet. Returns whether it
    // searched.
    bool findAgain(bool backward);

    QLineEdit *field() const { return m_field; }
    QCheckBox *matchCase() const { return m_matchCase; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    bool find(bool backward, bool fromMatchStart);
    QTextCursor textCursor() const;
    void setTextCursor(const QTextCursor &cursor);
    QTextDocument *document() const;

    QAbstractScrollArea &m_view;
    QPlainTextEdit *m_plainText = nullptr;
    QTextEdit *m_richText = nullptr;
    QLineEdit *m_field = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QLabel *m_result = nullptr;
};

} // namespace editing
