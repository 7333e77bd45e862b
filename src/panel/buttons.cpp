// SPDX-License-Identifier: MIT
#include "panel/buttons.h"

#include <QPushButton>

namespace panel {

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

} // namespace panel
