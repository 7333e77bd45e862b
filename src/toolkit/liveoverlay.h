// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

namespace toolkit {

// What the live window draws over its controls, on top of them and never one
// of them: a strip along its bottom edge with the report of the last failed
// live run, and a frame around the control whose creation line holds the
// editor's cursor. The mouse and the keyboard go to the controls beneath.
class LiveOverlay : public QWidget {
    Q_OBJECT
public:
    static constexpr int kOutlinePixels = 2;

    // Covers window and follows its size.
    explicit LiveOverlay(QWidget *window);

    // The strip's text; empty for no strip.
    void setStripText(const QString &text);
    QString stripText() const { return m_stripText; }
    // The strip's place in the window; empty without a strip.
    QRect stripRect() const;

    // The control framed in the highlight colour; null for none.
    void setOutlined(QWidget *control);
    QWidget *outlined() const { return m_outlined; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRect outlineRect() const;

    QString m_stripText;
    QPointer<QWidget> m_outlined;
};

} // namespace toolkit
