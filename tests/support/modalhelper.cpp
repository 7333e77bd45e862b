#include "support/modalhelper.h"

#include <QApplication>
#include <QMessageBox>
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
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        record.text = box->text();
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
