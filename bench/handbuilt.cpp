// SPDX-License-Identifier: MIT
// The controls benchmarks' scripts and the hand-written Qt that builds the
// same windows: the baseline a compile or a live update is measured against.

#include "handbuilt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace bench {

namespace {
constexpr int kKinds = 11;
const QStringList kEntries{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")};

QRect placeOf(int i)
{
    return QRect((i % 40) * 20, (i / 40) % 30 * 20, 80, 22);
}

QString scriptLine(int i, const Material &material)
{
    const QRect r = placeOf(i);
    const QString at = QStringLiteral("%1, %2, %3").arg(r.x()).arg(r.y()).arg(r.width());
    const QString sized = QStringLiteral("%1, %2, c%3, -, ").arg(at).arg(r.height()).arg(i);
    const QString quotedFolder = QLatin1Char('"') + material.folder + QLatin1Char('"');
    switch (i % kKinds) {
    case 0: return QStringLiteral("CreateButton ") + sized + QStringLiteral("\"Go\"");
    case 1: return QStringLiteral("CreateLabel ") + sized + QStringLiteral("\"Name:\"");
    case 2: return QStringLiteral("CreateTextbox ") + sized + QStringLiteral("\"text\"");
    case 3: return QStringLiteral("CreateCheckbox ") + sized + QStringLiteral("\"Check\"");
    case 4: return QStringLiteral("CreateListbox ") + sized + QStringLiteral("\"One|Two|Three\"");
    case 5: return QStringLiteral("CreateCombobox ") + at + QStringLiteral(", c%1, \"edit\", \"One|Two|Three\"").arg(i);
    case 6: return QStringLiteral("CreateFrame ") + sized + QStringLiteral("\"Group\"");
    case 7: return QStringLiteral("CreateImage ") + sized + QLatin1Char('"') + material.picture + QLatin1Char('"');
    case 8: return QStringLiteral("CreateDrivelist ") + at + QStringLiteral(", c%1, -, ").arg(i) + quotedFolder;
    case 9: return QStringLiteral("CreateDirlist ") + sized + quotedFolder;
    default: return QStringLiteral("CreateFilelist ") + sized + quotedFolder;
    }
}

} // namespace

QByteArray scriptOf(int count, const Material &material)
{
    QString script = QStringLiteral("CreateWindow 0, 0, 900, 700, -, , \"Bench\"\r\n");
    for (int i = 0; i < count; ++i)
        script += scriptLine(i, material) + QStringLiteral("\r\n");
    return script.toUtf8();
}

namespace {
template <typename W>
W *placed(QWidget *window, int i)
{
    auto *widget = new W(window);
    widget->setObjectName(QStringLiteral("c%1").arg(i));
    widget->setGeometry(placeOf(i));
    return widget;
}

template <typename W>
W *placedWithText(QWidget *window, int i, const QString &text)
{
    W *widget = placed<W>(window, i);
    widget->setText(text);
    return widget;
}

QListWidget *placedList(QWidget *window, int i, const QStringList &entries)
{
    auto *list = placed<QListWidget>(window, i);
    list->addItems(entries);
    return list;
}

QComboBox *placedCombo(QWidget *window, int i)
{
    auto *combo = placed<QComboBox>(window, i);
    combo->resize(combo->width(), combo->sizeHint().height());
    return combo;
}

QComboBox *placedEditableCombo(QWidget *window, int i)
{
    QComboBox *combo = placedCombo(window, i);
    combo->setEditable(true);
    combo->setEditText(QStringLiteral("edit"));
    combo->addItems(kEntries);
    combo->setCurrentIndex(0);
    return combo;
}

QComboBox *placedDrives(QWidget *window, int i, const QString &folder)
{
    QComboBox *drives = placedCombo(window, i);
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        drives->addItem(volume.rootPath());
    drives->setCurrentIndex(drives->findText(QStorageInfo(folder).rootPath()));
    return drives;
}

QTreeWidget *withFolderTree(QTreeWidget *tree, const QString &folder)
{
    QTreeWidgetItem *item = nullptr;
    QDir dir(folder);
    QStringList chain{folder};
    while (dir.cdUp())
        chain.prepend(dir.absolutePath());
    for (const QString &path : chain) {
        const QString name = QFileInfo(path).fileName();
        item = item ? new QTreeWidgetItem(item, {name}) : new QTreeWidgetItem(tree, {name.isEmpty() ? path : name});
        item->setExpanded(true);
    }
    for (const QString &name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        new QTreeWidgetItem(item, {name});
    tree->setCurrentItem(item);
    return tree;
}

// The widget the script's line i asks for, made the way a Qt program would.
QWidget *buildDirectly(QWidget *window, int i, const Material &material)
{
    switch (i % kKinds) {
    case 0: return placedWithText<QPushButton>(window, i, QStringLiteral("Go"));
    case 1: return placedWithText<QLabel>(window, i, QStringLiteral("Name:"));
    case 2: return placedWithText<QLineEdit>(window, i, QStringLiteral("text"));
    case 3: return placedWithText<QCheckBox>(window, i, QStringLiteral("Check"));
    case 4: return placedList(window, i, kEntries);
    case 5: return placedEditableCombo(window, i);
    case 6: {
        auto *frame = placed<QGroupBox>(window, i);
        frame->setTitle(QStringLiteral("Group"));
        return frame;
    }
    case 7: {
        auto *picture = placed<QLabel>(window, i);
        picture->setPixmap(QPixmap(material.picture));
        return picture;
    }
    case 8: return placedDrives(window, i, material.folder);
    case 9: return withFolderTree(placed<QTreeWidget>(window, i), material.folder);
    default: return placedList(window, i, QDir(material.folder).entryList(QDir::Files));
    }
}

} // namespace

QWidget *buildWindowDirectly(int count, const Material &material)
{
    auto *window = new QWidget(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setGeometry(0, 0, 900, 700);
    window->setWindowTitle(QStringLiteral("Bench"));
    window->show();
    // One widget after the other, each shown as it is made.
    for (int i = 0; i < count; ++i)
        buildDirectly(window, i, material)->show();
    return window;
}

Material makeMaterial(const QTemporaryDir &dir)
{
    Material material{dir.filePath(QStringLiteral("picture.png")), dir.filePath(QStringLiteral("folder"))};
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    image.save(material.picture);
    QDir(dir.path()).mkpath(QStringLiteral("folder/sub"));
    for (const char *name : {"a.txt", "b.txt", "c.txt"}) {
        QFile file(QDir(material.folder).filePath(QLatin1String(name)));
        file.open(QIODevice::WriteOnly);
    }
    return material;
}

} // namespace bench
