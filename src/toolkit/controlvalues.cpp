// SPDX-License-Identifier: MIT
#include "toolkit/controlvalues.h"

#include "toolkit/controlkinds.h"
#include "toolkit/outputwindowwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

namespace toolkit {

// Qt keeps child widgets in creation order, and the window's registry tells
// controls from any other child and gives their kind.
QList<NamedControl> controlsInOrder(QWidget *window)
{
    QList<NamedControl> controls;
    const auto *form = qobject_cast<OutputWindowWidget *>(window);
    if (!form)
        return controls;
    for (QObject *child : form->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget)
            continue;
        const OutputWindowWidget::ControlEntry entry = form->findControl(widget->objectName());
        if (entry.widget == widget)
            controls.append({widget->objectName(), widget, controlClassId(entry.kind)});
    }
    return controls;
}

QList<ControlValue> controlValues(QWidget *window)
{
    QList<ControlValue> values;
    for (const NamedControl &control : controlsInOrder(window)) {
        if (const auto read = kinds::valueReaderOf(control.classId)) {
            ControlValue value{control.name, {}, {}};
            read(control.widget, value);
            values.append(value);
        }
    }
    return values;
}

namespace kinds {

namespace {
QString selectedListData(QWidget *w, int role)
{
    const QList<QListWidgetItem *> selected = static_cast<QListWidget *>(w)->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(role).toString();
}
} // namespace

void readTextBox(QWidget *w, ControlValue &v) { v.text = static_cast<QLineEdit *>(w)->text(); }
void readCheckBox(QWidget *w, ControlValue &v) { v.checked = static_cast<QCheckBox *>(w)->isChecked(); }
void readListBox(QWidget *w, ControlValue &v) { v.text = selectedListData(w, Qt::DisplayRole); }
void readComboBox(QWidget *w, ControlValue &v) { v.text = static_cast<QComboBox *>(w)->currentText(); }
void readDriveListBox(QWidget *w, ControlValue &v) { v.text = static_cast<QComboBox *>(w)->currentData().toString(); }
void readFileListBox(QWidget *w, ControlValue &v) { v.text = selectedListData(w, Qt::UserRole); }

void readDirListBox(QWidget *w, ControlValue &v)
{
    const QTreeWidgetItem *shown = static_cast<QTreeWidget *>(w)->currentItem();
    v.text = shown ? shown->data(0, Qt::UserRole).toString() : QString();
}

} // namespace kinds
} // namespace toolkit
