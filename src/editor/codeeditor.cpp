#include "editor/codeeditor.h"

#include <QHelpEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTextBlock>
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

void CodeEditor::setFooter(QWidget *footer)
{
    m_footer = footer;
    footer->setParent(this);
    footer->installEventFilter(this);
    updateMargins();
}

void CodeEditor::setHeader(QWidget *header)
{
    m_header = header;
    header->setParent(this);
    header->installEventFilter(this);
    updateMargins();
}

std::pair<int, int> CodeEditor::shownLines() const
{
    // Lines do not wrap, so each takes one line height.
    const int first = firstVisibleBlock().blockNumber();
    return {first, first + viewport()->height() / qMax(1, fontMetrics().height()) + 1};
}

int CodeEditor::gutterWidth() const
{
    return gutterWidthFor(blockCount());
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

namespace {
int heightWhenShown(const QWidget *bar, const QWidget *editor)
{
    if (!bar || !bar->isVisibleTo(editor))
        return 0;
    return bar->hasHeightForWidth() ? bar->heightForWidth(editor->contentsRect().width()) : bar->sizeHint().height();
}
} // namespace

void CodeEditor::updateMargins()
{
    setViewportMargins(gutterWidth(), heightWhenShown(m_header, this), 0, heightWhenShown(m_footer, this));
    placeChildren();
}

void CodeEditor::reserveGutterFor(int lineCount)
{
    const QMargins margins = viewportMargins();
    setViewportMargins(gutterWidthFor(lineCount), margins.top(), 0, margins.bottom());
    placeChildren();
}

void CodeEditor::placeChildren()
{
    const QRect inside = contentsRect();
    const QMargins margins = viewportMargins();
    m_gutter->setGeometry(inside.left(), inside.top() + margins.top(), margins.left(),
                          inside.height() - margins.top() - margins.bottom());
    if (m_header)
        m_header->setGeometry(inside.left(), inside.top(), inside.width(), margins.top());
    if (m_footer)
        m_footer->setGeometry(inside.left(), inside.bottom() + 1 - margins.bottom(), inside.width(), margins.bottom());
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
    // A bar that wraps its text may need another height at another width.
    if (heightWhenShown(m_header, this) != viewportMargins().top())
        updateMargins();
    else
        placeChildren();
}

void CodeEditor::keyPressEvent(QKeyEvent *event)
{
    // Tab stays a character of the script; with Ctrl it leaves the editor.
    if (event->modifiers().testFlag(Qt::ControlModifier)
        && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        QAbstractScrollArea::focusNextPrevChild(event->key() == Qt::Key_Tab);
        return;
    }
    if (event->key() == Qt::Key_Escape && m_footer && m_footer->isVisible()) {
        m_footer->hide();
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
    // A bar shown, hidden or given another text takes its room anew.
    if ((watched == m_footer || watched == m_header)
        && (event->type() == QEvent::Show || event->type() == QEvent::Hide || event->type() == QEvent::LayoutRequest))
        updateMargins();
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
    const int lineHeight = fontMetrics().height();
    const int numberRight = m_gutter->width() - kGutterPaddingPixels;
    painter.setFont(font());
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > event->rect().bottom())
            break;
        if (!block.isVisible() || box.bottom() < event->rect().top())
            continue;
        const int top = int(box.top());
        const int number = block.blockNumber() + 1;
        if (number == m_markerLine) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(kMarkerColor);
            painter.drawEllipse(QRectF(kGutterPaddingPixels, top + lineHeight * 0.2, lineHeight * 0.6, lineHeight * 0.6));
        }
        painter.setPen(palette().color(number == m_markerLine ? QPalette::WindowText : QPalette::PlaceholderText));
        painter.drawText(0, top, numberRight, lineHeight, Qt::AlignRight | Qt::AlignVCenter, QString::number(number));
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
