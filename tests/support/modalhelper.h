// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

namespace testsupport {

// What a test saw of one modal window.
struct ModalRecord {
    QString className;
    QString objectName;
    QString title;
    QString owner;  // the owner window's name, empty without an owner
    QRect frame;    // where it showed, window frame included
    bool messageBox = false;
    QString text; // a message box's text, empty for other windows
    QString informativeText;
    int iconStyle = 0; // 16 critical, 64 information, 0 other
};

// Answers real modal windows while a test drives the program: it polls the
// active modal widget, records it, and then (queued, so that a nested modal
// loop the action starts is answered too) runs the action, closing by default.
class ModalAnswerer : public QObject {
public:
    using Action = std::function<void(QWidget *modal, int index)>;

    explicit ModalAnswerer(Action action = {});
    ~ModalAnswerer() override;

    const QList<ModalRecord> &records() const { return m_records; }
    QStringList titles() const;
    // Whether a modal window showed centred on window (moved only as far as
    // keeps it on the screen), at least wide enough for its whole title in a
    // title bar.
    static bool centredAndWholeTitle(const ModalRecord &record, const QWidget &window);

private:
    void poll();

    Action m_action;
    QTimer m_timer;
    QList<QPointer<QWidget>> m_seen;
    QList<ModalRecord> m_records;
};

} // namespace testsupport
