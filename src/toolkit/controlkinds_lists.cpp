#include "platform/error.h"
#include "toolkit/controlkinds.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QStorageInfo>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

namespace toolkit::kinds {

namespace {
// A list index: -1 for no selection or the index of an existing entry.
int listIndexOf(const PropertyValue &value, int count)
{
    const double number = std::round(numberOf(value));
    if (!(number >= -1 && number < count))
        platform::raiseError(platform::ErrInvalidPropertyValue);
    return int(number);
}

// A combo box is as high as its font needs; only its width follows the script.
void fitHeight(QComboBox *combo)
{
    combo->resize(combo->width(), combo->sizeHint().height());
}

// The folder a Path property names, made absolute and clean; 76 when the
// text names no existing folder.
QString existingFolder(const PropertyValue &value)
{
    const QString path = textOf(value);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        platform::raiseError(platform::ErrPathNotFound);
    return QDir::cleanPath(info.absoluteFilePath());
}

QStringList subfolders(const QString &folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QString volumeLabel(const QStorageInfo &volume)
{
    const QString name = volume.name();
    return name.isEmpty() ? volume.rootPath() : volume.rootPath() + QStringLiteral(" [") + name + QLatin1Char(']');
}

void addVolume(QComboBox *drives, const QStorageInfo &volume)
{
    drives->addItem(volumeLabel(volume), volume.rootPath());
}
} // namespace

QWidget *makeComboBox(QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->hide();
    combo->setEditable(true);
    // What the user types stays in the edit line; only the script adds entries.
    combo->setInsertPolicy(QComboBox::NoInsert);
    fitHeight(combo);
    return combo;
}

bool setComboBoxContent(QWidget *w, const QString &property, const PropertyValue &value)
{
    auto *combo = static_cast<QComboBox *>(w);
    if (property == QLatin1String("Text"))
        combo->setEditText(textOf(value));
    else if (property == QLatin1String("ListIndex"))
        combo->setCurrentIndex(listIndexOf(value, combo->count()));
    else
        return false;
    return true;
}

void addComboBoxItems(QWidget *w, const QStringList &entries)
{
    static_cast<QComboBox *>(w)->addItems(entries);
}

bool setListBoxContent(QWidget *w, const QString &property, const PropertyValue &value)
{
    auto *list = static_cast<QListWidget *>(w);
    if (property == QLatin1String("Text"))
        platform::raiseError(platform::ErrReadOnlyProperty); // a list box only reports its selected entry
    if (property != QLatin1String("ListIndex"))
        return false;
    list->setCurrentRow(listIndexOf(value, list->count()));
    return true;
}

void addListBoxItems(QWidget *w, const QStringList &entries)
{
    static_cast<QListWidget *>(w)->addItems(entries);
}

QWidget *makeDriveListBox(QWidget *parent)
{
    auto *drives = new QComboBox(parent);
    drives->hide();
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
              [](const QStorageInfo &a, const QStorageInfo &b) { return a.rootPath() < b.rootPath(); });
    for (const QStorageInfo &volume : volumes) {
        if (volume.isValid() && volume.isReady())
            addVolume(drives, volume);
    }
    fitHeight(drives);
    return drives;
}

bool setDriveListBoxContent(QWidget *w, const QString &property, const PropertyValue &value)
{
    if (property != QLatin1String("Drive"))
        return false;
    auto *drives = static_cast<QComboBox *>(w);
    const QString path = textOf(value);
    if (path.isEmpty() || !QFileInfo::exists(path))
        platform::raiseError(platform::ErrDeviceUnavailable);
    const QStorageInfo volume(path);
    if (!volume.isValid())
        platform::raiseError(platform::ErrDeviceUnavailable);
    int index = drives->findData(volume.rootPath());
    if (index < 0) {
        // Mounted after the list was filled: it holds an existing path, so show it.
        addVolume(drives, volume);
        index = drives->count() - 1;
    }
    drives->setCurrentIndex(index);
    return true;
}

QWidget *makeDirListBox(QWidget *parent)
{
    auto *tree = new QTreeWidget(parent);
    tree->hide();
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    return tree;
}

// Shows the chain of folders from the root down to Path, expanded, with
// Path selected and its subfolders below it.
bool setDirListBoxContent(QWidget *w, const QString &property, const PropertyValue &value)
{
    if (property != QLatin1String("Path"))
        return false;
    auto *tree = static_cast<QTreeWidget *>(w);
    const QString folder = existingFolder(value);
    tree->clear();
    QTreeWidgetItem *item = nullptr;
    QDir dir(folder);
    QStringList chain{folder};
    while (dir.cdUp())
        chain.prepend(dir.absolutePath());
    for (const QString &path : chain) {
        const QString name = QFileInfo(path).fileName();
        const QStringList text{name.isEmpty() ? QDir::toNativeSeparators(path) : name};
        item = item ? new QTreeWidgetItem(item, text) : new QTreeWidgetItem(tree, text);
        item->setData(0, Qt::UserRole, path);
        item->setExpanded(true);
    }
    for (const QString &name : subfolders(folder)) {
        auto *child = new QTreeWidgetItem(item, QStringList{name});
        child->setData(0, Qt::UserRole, QDir(folder).filePath(name));
    }
    tree->setCurrentItem(item);
    return true;
}

bool setFileListBoxContent(QWidget *w, const QString &property, const PropertyValue &value)
{
    if (property != QLatin1String("Path"))
        return false;
    auto *list = static_cast<QListWidget *>(w);
    const QString folder = existingFolder(value);
    list->clear();
    const QDir dir(folder);
    list->addItems(dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
    // Each entry shows a file name and keeps the file's full path.
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setData(Qt::UserRole, dir.filePath(list->item(row)->text()));
    return true;
}

} // namespace toolkit::kinds
