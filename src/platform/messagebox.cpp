// SPDX-License-Identifier: MIT
#include "platform/messagebox.h"

#include "platform/visibletext.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace platform {

namespace {
// A window manager's title bar holds, besides the title, the window's icon
// and its buttons (close, and often minimise and maximise) with margins.
constexpr int kTitleBarButtonsRoomPixels = 140;
} // namespace

int titleBarWidth(const QString &title)
{
    // Window managers commonly draw titles in bold.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarButtonsRoomPixels;
}

MessageBox::MessageBox(Icon icon, const QString &title, const QString &text, StandardButtons buttons, QWidget *owner)
    : QMessageBox(icon, title, text, buttons, owner)
{
    setTextFormat(Qt::PlainText);
}

void MessageBox::showEvent(QShowEvent *event)
{
    // QMessageBox sizes itself to its layout's minimum when shown, and
    // QDialog then centres it on the owner: a spacer as wide as the title
    // makes that size include the title. The layout is rebuilt whenever the
    // texts change, so the spacer goes in only now.
    auto *grid = qobject_cast<QGridLayout *>(layout());
    if (grid && !m_widened) {
        grid->addItem(new QSpacerItem(titleBarWidth(windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
        m_widened = true;
    }
    QMessageBox::showEvent(event);
}

void showMessageBox(const QString &prompt, int style, const QString &title, QWidget *owner,
                    const QString &informativeText)
{
    const QMessageBox::Icon icon = style == MsgCritical       ? QMessageBox::Critical
                      : style == MsgInformation ? QMessageBox::Information
                                                : QMessageBox::NoIcon;
    MessageBox box(icon, title, visibleBoxText(prompt), QMessageBox::Ok, owner);
    box.setInformativeText(informativeText);
    box.setTextFormat(Qt::PlainText); // now for the informative text too
    box.exec();
}

} // namespace platform
