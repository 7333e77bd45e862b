#include "platform/messagebox.h"

#include "platform/visibletext.h"

#include <QMessageBox>

namespace platform {

void showMessageBox(const QString &prompt, int style, const QString &title)
{
    QMessageBox box;
    box.setIcon(style == MsgCritical ? QMessageBox::Critical
                : style == MsgInformation ? QMessageBox::Information
                                          : QMessageBox::NoIcon);
    box.setWindowTitle(title);
    box.setText(visibleBoxText(prompt));
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace platform
