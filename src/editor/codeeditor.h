// SPDX-License-Identifier: MIT
#pragma once

#include <QPlainTextEdit>
#include <utility>

namespace editing {

// A plain-text editor made for code: line numbers in a gutter on its left,
// the line holding the cursor highlighted, one marked line (a failure) with
// its own tool tip until the next edit. Tab inserts a tab; Ctrl+Tab and
// Ctrl+Shift+Tab move the focus on, as in Qt's text editors. None of this
// touches the text.
class CodeEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CodeEditor(QWidget *parent = nullptr);

    // Marks the line with that 1-based number in the gutter; hovering the
    // mark shows toolTip. The next change of the text removes it.
    void setMarker(int lineNumber, const QString &toolTip);
    void clearMarker();
    // The marked line's number, 0 when none.
    int markerLine() const { return m_markerLine; }
    QString markerToolTip() const { return m_markerToolTip; }

    // Puts the cursor at the start of the line with that 1-based number
    // (clamped to the text's lines) and shows it.
    void goToLine(int lineNumber);

    // The 0-based numbers of the first and the last line the editor shows.
    std::pair<int, int> shownLines() const;

    // Gives the gutter the width for a text of lineCount lines before the
    // text is put in, so that the text area keeps its width when it arrives
    // (a change of width lays the whole document out again).
    void reserveGutterFor(int lineCount);
    // The gutter's line number at a point of the gutter, 0 when none.
    int gutterLineAt(const QPoint &point) const;
    QWidget *gutter() const { return m_gutter; }

    // Shows document (setDocument(), which lays it out at the viewport's
    // width).
    void showDocument(QTextDocument *document);

protected:
    // Lays the document out at the viewport's width now, unless it already
    // is: a hidden editor would otherwise lay its text out again when shown.
    void layOutAtViewportWidth();
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int gutterWidthFor(int lineCount) const;
    void paintGutter(QPaintEvent *event);
    void updateMargins();
    void placeChildren();
    void followUpdateRequest(const QRect &rect, int dy);
    void highlightCurrentLine();

    QWidget *m_gutter = nullptr;
    // The viewport width the document was last laid out at, -1 when unknown.
    int m_laidOutWidth = -1;
    int m_markerLine = 0;
    QString m_markerToolTip;
};

} // namespace editing
