// SPDX-License-Identifier: MIT
#include "platform/error.h"
#include "platform/filenames.h"
#include "toolkit/controlkinds.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QStorageInfo>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <dirent.h>
#include <sys/stat.h>

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

bool statOf(const QString &path, struct stat &status)
{
    return ::stat(platform::fileNameToBytes(path).constData(), &status) == 0;
}

// The folder a Path property names, made absolute and clean; 76 when the
// text names no existing folder.
QString existingFolder(const PropertyValue &value)
{
    const QString path = textOf(value);
    struct stat status;
    if (path.isEmpty() || !statOf(path, status) || !S_ISDIR(status.st_mode))
        platform::raiseError(platform::ErrPathNotFound);
    return platform::absoluteFileName(path);
}

// An absolute folder and each folder above it, from the root down.
QStringList foldersDownTo(const QString &folder)
{
    QStringList chain{folder};
    while (chain.first() != QLatin1String("/")) {
        const qsizetype slash = chain.first().lastIndexOf(QLatin1Char('/'));
        chain.prepend(slash <= 0 ? QStringLiteral("/") : chain.first().left(slash));
    }
    return chain;
}

QString pathIn(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// The names of the files, or of the folders, in a folder, read as bytes so
// that each name that is not UTF-8 is listed once and leads back to its file
// (platform/filenames.h). Hidden names (".name") are left out; the order is
// QDir's for Name | IgnoreCase: by the names in lower case, ties as listed.
QStringList entryNames(const QString &folder, bool folders)
{
    QStringList names;
    DIR *dir = ::opendir(platform::fileNameToBytes(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = platform::fileNameFromBytes(entry->d_name);
        struct stat status;
        if (name.startsWith(QLatin1Char('.')) || !statOf(pathIn(folder, name), status))
            continue;
        if (folders ? S_ISDIR(status.st_mode) : S_ISREG(status.st_mode))
            names.append(name);
    }
    ::closedir(dir);
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.toLower() < b.toLower();
    });
    return names;
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
    struct stat status;
    if (path.isEmpty() || !statOf(path, status))
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
    for (const QString &path : foldersDownTo(folder)) {
        const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        const QStringList text{name.isEmpty() ? QDir::toNativeSeparators(path) : platform::visibleFileName(name)};
        item = item ? new QTreeWidgetItem(item, text) : new QTreeWidgetItem(tree, text);
        item->setData(0, Qt::UserRole, path);
        item->setExpanded(true);
    }
    for (const QString &name : entryNames(folder, true)) {
        auto *child = new QTreeWidgetItem(item, QStringList{platform::visibleFileName(name)});
        child->setData(0, Qt::UserRole, pathIn(folder, name));
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
    // Each entry shows a file name and keeps the file's full path.
    for (const QString &name : entryNames(folder, false)) {
        auto *item = new QListWidgetItem(platform::visibleFileName(name), list);
        item->setData(Qt::UserRole, pathIn(folder, name));
    }
    return true;
}

} // namespace toolkit::kinds
