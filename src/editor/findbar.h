#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace editing {

// The editor's find bar: a search field, Previous and Next, and "Match case",
// off at first so that searches ignore letter case. Searches wrap around the
// text. Typing searches from the start of the current match; Return finds
// the next match, Shift+Return the previous one; Escape closes the bar and
// gives the editor back its focus.
class FindBar : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(QPlainTextEdit &editor, QWidget *parent = nullptr);

    // Shows the bar, takes the editor's selection as the search text when it
    // lies on one line, and puts the focus in the search field.
    void open();
    // Hides the bar and gives the editor the focus.
    void dismiss();
    // Selects the next (or the previous) match after (before) the editor's
    // selection, wrapping around; returns false when the text has none.
    bool findNext() { return find(false, false); }
    bool findPrevious() { return find(true, false); }

    QLineEdit *field() const { return m_field; }
    QCheckBox *matchCase() const { return m_matchCase; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool find(bool backward, bool fromMatchStart);

    QPlainTextEdit &m_editor;
    QLineEdit *m_field = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QLabel *m_result = nullptr;
};

} // namespace editing
