#include "panel/statusline.h"

#include <QPainter>
#include <QStyle>

namespace panel {

StatusLine::StatusLine(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void StatusLine::setMessage(const QString &text)
{
    m_detail.clear();
    setText(text);
    updateToolTip();
}

void StatusLine::setDetail(const QString &detail)
{
    m_detail = detail;
    updateToolTip();
}

QRect StatusLine::textRect() const
{
    // A framed label indents its text by half an "x", as QLabel does.
    const int xIndent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    const int left = margin() + (indent() >= 0 ? indent() : xIndent);
    return contentsRect().adjusted(left, margin(), -margin(), -margin());
}

bool StatusLine::isCut() const
{
    return fontMetrics().horizontalAdvance(text()) > textRect().width();
}

void StatusLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect rect = textRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, rect.width());
    style()->drawItemText(&painter, rect, int(alignment()), palette(), isEnabled(), shown, foregroundRole());
}

void StatusLine::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    updateToolTip();
}

void StatusLine::updateToolTip()
{
    if (!isCut() && m_detail.isEmpty()) {
        setToolTip(QString());
        return;
    }
    QString whole = text();
    if (!m_detail.isEmpty())
        whole += QLatin1Char('\n') + m_detail;
    // As rich text, so that a long message wraps instead of leaving the screen.
    setToolTip(QStringLiteral("<p>") + whole.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"))
               + QStringLiteral("</p>"));
}

} // namespace panel
