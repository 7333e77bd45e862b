// SPDX-License-Identifier: MIT
#include "toolkit/outputdialog.h"

#include "toolkit/classids.h"
#include "toolkit/controlvalues.h"
#include "toolkit/outputwindowwidget.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>

namespace toolkit {

OutputDialog::OutputDialog(QWidget *window) : m_window(window)
{
    if (!m_window)
        return;
    // The window outlives its closing, so that its values can be read.
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    for (const NamedControl &control : controlsInOrder(m_window)) {
        if (control.classId != QLatin1String(classid::CommandButton))
            continue;
        auto *button = static_cast<QPushButton *>(control.widget);
        connect(button, &QAbstractButton::clicked, this, [this, name = control.name] { closeByButton(name); });
        if (!m_defaultButton && button->isVisibleTo(m_window) && button->isEnabled())
            m_defaultButton = button;
    }
    if (m_defaultButton)
        m_defaultButton->setDefault(true);
    m_window->installEventFilter(this);
}

QString OutputDialog::exec()
{
    if (!m_window)
        return {};
    if (!m_window->isVisible())
        m_window->show();
    QEventLoop loop;
    m_loop = &loop;
    if (!m_closed)
        loop.exec();
    m_loop = nullptr;
    return m_button;
}

void OutputDialog::closeByButton(const QString &name)
{
    m_button = name;
    m_window->close();
}

// A button with the focus takes Return itself; Qt's buttons outside a
// QDialog leave it to their window unless they are the default one.
bool OutputDialog::pressForReturn()
{
    auto *focused = qobject_cast<QPushButton *>(m_window->focusWidget());
    QPushButton *button = focused ? focused : m_defaultButton.data();
    if (!button)
        return false;
    button->click();
    return true;
}

QWidget *OutputDialog::window() const { return m_window; }

bool OutputDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::KeyPress) {
        // Reaches the window when the control with the focus has no use for it.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            m_window->close();
            return true;
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && pressForReturn())
            return true;
    }
    if (watched == m_window && event->type() == QEvent::Close) {
        m_closed = true;
        if (m_loop)
            m_loop->quit();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit
