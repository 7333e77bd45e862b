// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace panel {

// Panel 1 of the status bar: the status message. Its text stays whole; one
// too wide for the panel is drawn cut with an ellipsis, and the tool tip then
// shows all of it. A detail of the message (what a failure report adds to
// its status text) shows in the tool tip below the message.
class StatusLine : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent = nullptr);

    // Replaces the message and drops the last one's detail.
    void setMessage(const QString &text);
    void setDetail(const QString &detail);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Whether the panel is too narrow for the whole message.
    bool isCut() const;
    QRect textRect() const;
    void updateToolTip();

    QString m_detail;
};

} // namespace panel
