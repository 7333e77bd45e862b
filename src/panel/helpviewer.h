// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QTextBrowser;

namespace editing {
class FindBar;
}

namespace panel {

// The help window wHelp: the user documentation, Markdown shown as rich text.
// Links between the documents and to their headings work, Alt+Left and
// Alt+Right go back and forth, Ctrl+F searches (F3 and Shift+F3 find again).
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget *owner);

    // Shows the documentation file (script-reference.md, shell-mode.md...)
    // at the heading with that anchor, or at its top when anchor is empty,
    // and raises the window.
    void showDocument(const QString &fileName, const QString &anchor = QString());

private:
    void addFindKeys();

    QTextBrowser *m_browser = nullptr;
    editing::FindBar *m_findBar = nullptr;
};

// The command a script line starts with, in the table's letter case also
// when the line writes it in another; empty when the line starts with none.
QString commandOfLine(const QString &line);

} // namespace panel
