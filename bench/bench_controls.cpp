// SPDX-License-Identifier: MIT
// From the click on COMPILE until the output window is shown, painted and
// idle: a generated script of N controls of every kind, run through
// compileSource, next to naive hand-written Qt that builds the same window
// with the same widgets. Run headless: QT_QPA_PLATFORM=offscreen bench_controls
// Optional arguments: "-r ROUNDS" and the control counts to measure.

#include "figures.h"
#include "interpreter/compilesource.h"
#include "interpreter/runhost.h"
#include "toolkit/loadedwindows.h"

#include <QApplication>
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

namespace {

constexpr int kKinds = 11;
const QStringList kEntries{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")};

// What the controls show: a picture and a folder with a few files and folders.
struct Material {
    QString picture;
    QString folder;
};

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

QByteArray scriptOf(int count, const Material &material)
{
    QString script = QStringLiteral("CreateWindow 0, 0, 900, 700, -, , \"Bench\"\r\n");
    for (int i = 0; i < count; ++i)
        script += scriptLine(i, material) + QStringLiteral("\r\n");
    return script.toUtf8();
}

template <typename W>
W *placed(QWidget *window, int i)
{
    auto *widget = new W(window);
    widget->setObjectName(QStringLiteral("c%1").arg(i));
    widget->setGeometry(placeOf(i));
    return widget;
}

QComboBox *placedCombo(QWidget *window, int i)
{
    auto *combo = placed<QComboBox>(window, i);
    combo->resize(combo->width(), combo->sizeHint().height());
    return combo;
}

void buildFolderTree(QTreeWidget *tree, const QString &folder)
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
}

// The widgets the script asks for, made the way a Qt program would, one
// after the other, each shown as it is made.
void buildDirectly(QWidget *window, int i, const Material &material)
{
    switch (i % kKinds) {
    case 0: placed<QPushButton>(window, i)->setText(QStringLiteral("Go")); break;
    case 1: placed<QLabel>(window, i)->setText(QStringLiteral("Name:")); break;
    case 2: placed<QLineEdit>(window, i)->setText(QStringLiteral("text")); break;
    case 3: placed<QCheckBox>(window, i)->setText(QStringLiteral("Check")); break;
    case 4: placed<QListWidget>(window, i)->addItems(kEntries); break;
    case 5: {
        QComboBox *combo = placedCombo(window, i);
        combo->setEditable(true);
        combo->setEditText(QStringLiteral("edit"));
        combo->addItems(kEntries);
        combo->setCurrentIndex(0);
        break;
    }
    case 6: placed<QGroupBox>(window, i)->setTitle(QStringLiteral("Group")); break;
    case 7: placed<QLabel>(window, i)->setPixmap(QPixmap(material.picture)); break;
    case 8: {
        QComboBox *drives = placedCombo(window, i);
        for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
            drives->addItem(volume.rootPath());
        drives->setCurrentIndex(drives->findText(QStorageInfo(material.folder).rootPath()));
        break;
    }
    case 9: buildFolderTree(placed<QTreeWidget>(window, i), material.folder); break;
    default: placed<QListWidget>(window, i)->addItems(QDir(material.folder).entryList(QDir::Files)); break;
    }
    window->findChild<QWidget *>(QStringLiteral("c%1").arg(i), Qt::FindDirectChildrenOnly)->show();
}

QWidget *buildWindowDirectly(int count, const Material &material)
{
    auto *window = new QWidget(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setGeometry(0, 0, 900, 700);
    window->setWindowTitle(QStringLiteral("Bench"));
    window->show();
    for (int i = 0; i < count; ++i)
        buildDirectly(window, i, material);
    return window;
}

QWidget *newestWindow()
{
    const QList<QWidget *> windows = toolkit::loadedWindows();
    return windows.isEmpty() ? nullptr : windows.last();
}

void clearWindows()
{
    for (QWidget *window : toolkit::loadedWindows())
        toolkit::unloadWindow(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    bench::waitUntilIdle();
}

// Milliseconds from the start of build until its window is shown, painted
// and idle; the window goes afterwards, untimed.
double timeBuild(const std::function<QWidget *()> &build)
{
    QElapsedTimer timer;
    timer.start();
    QWidget *window = build();
    bench::waitUntilIdle(window);
    const double ms = bench::elapsedMs(timer);
    toolkit::registerLoadedWindow(window);
    clearWindows();
    return ms;
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

} // namespace

int main(int argc, char **argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int fixedRounds = 0;
    if (args.size() >= 2 && args.first() == QLatin1String("-r")) {
        fixedRounds = args.at(1).toInt();
        args = args.mid(2);
    }
    QList<int> counts{2000, 10000};
    if (!args.isEmpty()) {
        counts.clear();
        for (const QString &arg : args)
            counts.append(arg.toInt());
    }
    QTemporaryDir dir;
    const Material material = makeMaterial(dir);
    interpreter::SilentRunHost host;
    bench::printHeader();
    for (int count : counts) {
        const QString path = dir.filePath(QStringLiteral("bench_%1.txt").arg(count));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(scriptOf(count, material)) < 0)
            return 1;
        file.close();
        const auto compile = [&] {
            interpreter::compileSource(path, interpreter::CompileNormally, host);
            return newestWindow();
        };
        const auto direct = [&] { return buildWindowDirectly(count, material); };
        // One untimed round first: the first widgets of each kind pay for
        // styles, fonts and caches that every later one finds ready.
        timeBuild(compile);
        timeBuild(direct);
        bench::Samples scripted, built;
        const int rounds = fixedRounds > 0 ? fixedRounds : count >= 10000 ? 5 : 11;
        bench::interleave(rounds, [&] { return timeBuild(compile); }, [&] { return timeBuild(direct); }, scripted, built);
        const QByteArray name = QStringLiteral("compile %1 controls of 11 kinds, to idle").arg(count).toUtf8();
        bench::printFigure(name.constData(), "ms", scripted, built, 1.0);
    }
    return 0;
}
