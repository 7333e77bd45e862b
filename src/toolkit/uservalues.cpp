// SPDX-License-Identifier: MIT
#include "toolkit/uservalues.h"

#include "toolkit/classids.h"
#include "toolkit/controlkinds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace toolkit {

namespace {
using ValueWriter = void (*)(QWidget *widget, const ControlValue &value);

void writeTextBox(QWidget *w, const ControlValue &v) { static_cast<QLineEdit *>(w)->setText(v.text); }

void writeCheckBox(QWidget *w, const ControlValue &v)
{
    if (v.checked)
        static_cast<QCheckBox *>(w)->setChecked(*v.checked);
}

// A list's entry whose text (or, for a file list, path) is the value.
void selectListEntry(QWidget *w, const ControlValue &v, int role)
{
    auto *list = static_cast<QListWidget *>(w);
    if (v.text.isEmpty()) {
        list->clearSelection();
        return;
    }
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->data(role).toString() == v.text) {
            list->setCurrentRow(row);
            return;
        }
    }
}

void writeListBox(QWidget *w, const ControlValue &v) { selectListEntry(w, v, Qt::DisplayRole); }
void writeFileListBox(QWidget *w, const ControlValue &v) { selectListEntry(w, v, Qt::UserRole); }

void writeComboBox(QWidget *w, const ControlValue &v)
{
    auto *combo = static_cast<QComboBox *>(w);
    const int index = combo->findText(v.text, Qt::MatchExactly);
    if (index >= 0)
        combo->setCurrentIndex(index);
    else
        combo->setEditText(v.text);
}

void writeDriveListBox(QWidget *w, const ControlValue &v)
{
    auto *drives = static_cast<QComboBox *>(w);
    const int index = drives->findData(v.text);
    if (index >= 0)
        drives->setCurrentIndex(index);
}

void writeDirListBox(QWidget *w, const ControlValue &v)
{
    auto *tree = static_cast<QTreeWidget *>(w);
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == v.text) {
            tree->setCurrentItem(*it);
            return;
        }
    }
}

ValueWriter writerOf(const QString &classId)
{
    using namespace classid;
    static const struct {
        const char *classId;
        ValueWriter write;
    } kWriters[] = {
        {TextBox, writeTextBox},     {CheckBox, writeCheckBox},         {ListBox, writeListBox},
        {ComboBox, writeComboBox},   {DriveListBox, writeDriveListBox}, {DirListBox, writeDirListBox},
        {FileListBox, writeFileListBox},
    };
    for (const auto &row : kWriters) {
        if (classId == QLatin1String(row.classId))
            return row.write;
    }
    return nullptr;
}
} // namespace

std::optional<ControlValue> readControlValue(QWidget *widget, int kind)
{
    const auto read = kinds::valueReaderOf(controlClassId(kind));
    if (!widget || !read)
        return std::nullopt;
    ControlValue value{widget->objectName(), {}, {}};
    read(widget, value);
    return value;
}

void writeControlValue(QWidget *widget, int kind, const ControlValue &value)
{
    if (const auto write = writerOf(controlClassId(kind)); widget && write)
        write(widget, value);
}

bool sameValue(const ControlValue &a, const ControlValue &b)
{
    return a.text == b.text && a.checked == b.checked;
}

} // namespace toolkit
