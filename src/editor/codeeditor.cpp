// SPDX-License-Identifier: MIT
#include "editor/codeeditor.h"

#include <QHelpEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

namespace editing {

namespace {
constexpr int kGutterPaddingPixels = 4;
constexpr int kCurrentLineAlpha = 40;
const QColor kMarkerColor(0xd0, 0x20, 0x20);
} // namespace

CodeEditor::CodeEditor(QWidget *parent) : QPlainTextEdit(parent), m_gutter(new QWidget(this))
{
    m_gutter->setObjectName(QStringLiteral("gutter"));
    m_gutter->installEventFilter(this);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &CodeEditor::updateMargins);
    connect(this, &QPlainTextEdit::updateRequest, this, &CodeEditor::followUpdateRequest);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CodeEditor::highlightCurrentLine);
    connect(this, &QPlainTextEdit::textChanged, this, &CodeEditor::clearMarker);
    updateMargins();
    highlightCurrentLine();
}

void CodeEditor::setMarker(int lineNumber, const QString &toolTip)
{
    m_markerLine = lineNumber;
    m_markerToolTip = toolTip;
    m_gutter->update();
}

void CodeEditor::clearMarker()
{
    if (m_markerLine == 0)
        return;
    m_markerLine = 0;
    m_markerToolTip.clear();
    m_gutter->update();
}

void CodeEditor::goToLine(int lineNumber)
{
    const int blockNumber = qBound(0, lineNumber - 1, document()->blockCount() - 1);
    setTextCursor(QTextCursor(document()->findBlockByNumber(blockNumber)));
    centerCursor();
}

std::pair<int, int> CodeEditor::shownLines() const
{
    // Lines do not wrap, so each takes one line height.
    const int first = firstVisibleBlock().blockNumber();
    return {first, first + viewport()->height() / qMax(1, fontMetrics().height()) + 1};
}

int CodeEditor::gutterWidthFor(int lineCount) const
{
    const int digits = int(QString::number(qMax(1, lineCount)).size());
    const int markerRoom = fontMetrics().height();
    return markerRoom + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits + 2 * kGutterPaddingPixels;
}

int CodeEditor::gutterLineAt(const QPoint &point) const
{
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > point.y())
            break;
        if (block.isVisible() && point.y() < box.bottom())
            return block.blockNumber() + 1;
    }
    return 0;
}

void CodeEditor::updateMargins()
{
    reserveGutterFor(blockCount());
}

void CodeEditor::reserveGutterFor(int lineCount)
{
    setViewportMargins(gutterWidthFor(lineCount), 0, 0, 0);
    placeChildren();
}

void CodeEditor::placeChildren()
{
    // Beside the text area only: the horizontal scroll bar runs below both.
    const QRect text = viewport()->geometry();
    m_gutter->setGeometry(contentsRect().left(), text.top(), viewportMargins().left(), text.height());
}

void CodeEditor::showDocument(QTextDocument *document)
{
    setDocument(document);
    m_laidOutWidth = viewport()->width();
}

void CodeEditor::layOutAtViewportWidth()
{
    if (viewport()->width() != m_laidOutWidth)
        showDocument(document());
}

void CodeEditor::resizeEvent(QResizeEvent *event)
{
    // Qt lays the whole document out again, with a layout object for every
    // line, at each resize that changes the width, and the first resize of a
    // hidden editor shown reports no old width at all. A document already
    // laid out at the new width keeps its layout.
    const int width = event->size().width();
    if (event->oldSize().width() != width && width == m_laidOutWidth) {
        QResizeEvent sameWidth(event->size(), QSize(width, event->oldSize().height()));
        QPlainTextEdit::resizeEvent(&sameWidth);
    } else {
        QPlainTextEdit::resizeEvent(event);
    }
    m_laidOutWidth = width;
    placeChildren();
}

bool CodeEditor::viewportEvent(QEvent *event)
{
    // The text area shrinks when a scroll bar comes, and the gutter with it.
    if (event->type() == QEvent::Resize)
        placeChildren();
    return QPlainTextEdit::viewportEvent(event);
}

void CodeEditor::keyPressEvent(QKeyEvent *event)
{
    // Tab stays a character of the script; with Ctrl it leaves the editor.
    if (event->modifiers().testFlag(Qt::ControlModifier)
        && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        QAbstractScrollArea::focusNextPrevChild(event->key() == Qt::Key_Tab);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

bool CodeEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_gutter && event->type() == QEvent::Paint) {
        paintGutter(static_cast<QPaintEvent *>(event));
        return true;
    }
    if (watched == m_gutter && event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        if (m_markerLine > 0 && gutterLineAt(help->pos()) == m_markerLine)
            QToolTip::showText(help->globalPos(), m_markerToolTip, m_gutter);
        else
            QToolTip::hideText();
        return true;
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

void CodeEditor::followUpdateRequest(const QRect &rect, int dy)
{
    if (dy != 0)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
}

void CodeEditor::paintGutter(QPaintEvent *event)
{
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const QFontMetricsF metrics(font());
    const qreal numberRight = m_gutter->width() - kGutterPaddingPixels;
    painter.setFont(font());
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > event->rect().bottom())
            break;
        if (!block.isVisible() || box.bottom() < event->rect().top())
            continue;
        // The line as laid out: a character from a fallback font (Chinese,
        // emoji) makes it taller, with its baseline lower.
        const QTextLine line = block.layout() ? block.layout()->lineAt(0) : QTextLine();
        const qreal lineTop = box.top() + (line.isValid() ? line.y() : 0);
        const qreal lineHeight = line.isValid() ? line.height() : metrics.height();
        const qreal baseline = lineTop + (line.isValid() ? line.ascent() : metrics.ascent());
        const int number = block.blockNumber() + 1;
        if (number == m_markerLine) {
            const qreal diameter = metrics.height() * 0.6;
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(kMarkerColor);
            painter.drawEllipse(QRectF(kGutterPaddingPixels, lineTop + (lineHeight - diameter) / 2, diameter, diameter));
        }
        const QString text = QString::number(number);
        painter.setPen(palette().color(number == m_markerLine ? QPalette::WindowText : QPalette::PlaceholderText));
        painter.drawText(QPointF(numberRight - metrics.horizontalAdvance(text), baseline), text);
    }
}

void CodeEditor::highlightCurrentLine()
{
    QTextEdit::ExtraSelection line;
    QColor color = palette().color(QPalette::Highlight);
    color.setAlpha(kCurrentLineAlpha);
    line.format.setBackground(color);
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    line.cursor = textCursor();
    line.cursor.clearSelection();
    setExtraSelections({line});
}

} // namespace editing
