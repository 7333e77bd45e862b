// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

namespace panel {

// A push button of the panel's windows with its name, caption and place.
QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QRect &geometry);

} // namespace panel
