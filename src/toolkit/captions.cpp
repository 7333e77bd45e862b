// SPDX-License-Identifier: MIT
// The kinds that show a caption on one line draw and measure it only as far
// as it can be seen, so that showing a caption of millions of characters
// costs no more than showing one that fits. A caption that fits is shown
// exactly as Qt shows it; the widget keeps the whole caption as its text.

#include "platform/visibletext.h"
#include "toolkit/controlkinds.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

namespace toolkit::kinds {

namespace {
// Button, check box and frame describe themselves to the style through one
// option, which is where the caption is cut.
template <typename Widget, typename Option>
class CaptionWidget : public Widget {
public:
    using Widget::Widget;

protected:
    void initStyleOption(Option *option) const override
    {
        Widget::initStyleOption(option);
        option->text = platform::visibleCaption(option->text, this->width());
    }
};

// A script label: plain text, no frame, margin or indent.
class CaptionLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        const QString shown = platform::visibleCaption(text(), width());
        if (shown.size() == text().size()) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        const auto align = QStyle::visualAlignment(layoutDirection(), alignment());
        // A label that names a control shows its & as the mnemonic, as QLabel does.
        const int mnemonic = buddy() ? int(Qt::TextShowMnemonic) : 0;
        style()->drawItemText(&painter, contentsRect(), int(align) | mnemonic, palette(), isEnabled(), shown,
                              foregroundRole());
    }
};
} // namespace

QWidget *makeCaptionButton(QWidget *parent)
{
    return make<CaptionWidget<QPushButton, QStyleOptionButton>>(parent);
}

QWidget *makeCaptionCheckBox(QWidget *parent)
{
    return make<CaptionWidget<QCheckBox, QStyleOptionButton>>(parent);
}

QWidget *makeCaptionFrame(QWidget *parent)
{
    return make<CaptionWidget<QGroupBox, QStyleOptionGroupBox>>(parent);
}

QWidget *makeCaptionLabel(QWidget *parent)
{
    auto *label = new CaptionLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->hide();
    return label;
}

} // namespace toolkit::kinds
