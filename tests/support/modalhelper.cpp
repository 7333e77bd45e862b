// SPDX-License-Identifier: MIT
#include "support/modalhelper.h"

#include "platform/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace testsupport {

ModalAnswerer::ModalAnswerer(Action action) : m_action(std::move(action))
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start(5);
}

ModalAnswerer::~ModalAnswerer() = default;

QStringList ModalAnswerer::titles() const
{
    QStringList result;
    for (const ModalRecord &record : m_records)
        result.append(record.title);
    return result;
}

bool ModalAnswerer::centredAndWholeTitle(const ModalRecord &record, const QWidget &window)
{
    constexpr int kFrameTolerancePixels = 4;
    // Centred, as far as the screen allows.
    const QRect screen = window.screen()->availableGeometry();
    const QPoint centred = window.frameGeometry().center() - QPoint(record.frame.width(), record.frame.height()) / 2;
    const QPoint expected(qBound(screen.left(), centred.x(), screen.right() + 1 - record.frame.width()),
                          qBound(screen.top(), centred.y(), screen.bottom() + 1 - record.frame.height()));
    const QPoint offset = record.frame.topLeft() - expected;
    return qAbs(offset.x()) <= kFrameTolerancePixels && qAbs(offset.y()) <= kFrameTolerancePixels
        && record.frame.width() >= platform::titleBarWidth(record.title);
}

void ModalAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || m_seen.contains(modal))
        return;
    m_seen.append(modal);
    ModalRecord record;
    record.className = QString::fromLatin1(modal->metaObject()->className());
    record.objectName = modal->objectName();
    record.title = modal->windowTitle();
    record.owner = modal->parentWidget() ? modal->parentWidget()->window()->objectName() : QString();
    record.frame = modal->frameGeometry();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        record.messageBox = true;
        record.text = box->text();
        record.informativeText = box->informativeText();
        record.iconStyle = box->icon() == QMessageBox::Critical ? 16
            : box->icon() == QMessageBox::Information           ? 64
                                                                : 0;
    }
    const int index = int(m_records.size());
    m_records.append(record);
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, this, [this, target, index] {
        if (!target)
            return;
        if (m_action)
            m_action(target, index);
        else
            target->close();
    });
}

} // namespace testsupport
