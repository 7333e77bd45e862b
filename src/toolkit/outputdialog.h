// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QEventLoop;
class QPushButton;
class QWidget;

namespace toolkit {

// An output window used as a dialog: every button of the window closes it,
// and so do Escape and the close box. The first button in script order that
// is visible and enabled is the default button: Return or Enter in any
// control other than a button presses it; in a button, they press that one.
class OutputDialog : public QObject {
    Q_OBJECT
public:
    explicit OutputDialog(QWidget *window);

    // Shows the window when it is hidden and waits until it closes. Returns
    // the name of the button that closed it, or an empty text for Escape and
    // the close box. The window stays loaded, hidden, so that its values can
    // still be read.
    QString exec();

    QWidget *window() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void closeByButton(const QString &name);
    bool pressForReturn();

    QPointer<QWidget> m_window;
    QPointer<QPushButton> m_defaultButton;
    QString m_button;
    bool m_closed = false;
    QEventLoop *m_loop = nullptr;
};

} // namespace toolkit
