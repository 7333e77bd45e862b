// SPDX-License-Identifier: MIT
#include "panel/statusline.h"

#include <QPainter>
#include <QStyle>

namespace panel {

namespace {
// A tool tip line, so that a long message does not run off the screen.
constexpr qsizetype kToolTipLineCharacters = 100;

// The text with each line longer than a tool tip line broken at its last
// space before that length, or at that length when it has none there.
QString wrapped(const QString &text)
{
    QStringList lines;
    for (QString rest : text.split(QLatin1Char('\n'))) {
        while (rest.size() > kToolTipLineCharacters) {
            const qsizetype space = rest.lastIndexOf(QLatin1Char(' '), kToolTipLineCharacters);
            const qsizetype cut = space > 0 ? space : kToolTipLineCharacters;
            lines << rest.left(cut);
            rest = rest.mid(space > 0 ? cut + 1 : cut);
        }
        lines << rest;
    }
    return lines.join(QLatin1Char('\n'));
}
} // namespace

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
    setToolTip(wrapped(whole));
}

} // namespace panel
