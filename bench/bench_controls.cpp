// Measures what the interpreter adds to building controls: a generated
// script of N controls is run through CompileSource, and the same window
// with the same widgets is built directly with Qt in the same process.
// Prints both times, the time per control and their ratio for each N.

#include "interpreter/compilesource.h"
#include "interpreter/runhost.h"
#include "platform/forms.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kKinds = 6;
const QStringList kEntries{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")};

QRect placeOf(int i)
{
    return QRect((i % 40) * 20, (i / 40) % 30 * 20, 80, 22);
}

QString scriptLine(int i)
{
    const QRect r = placeOf(i);
    const QString at = QStringLiteral("%1, %2, %3").arg(r.x()).arg(r.y()).arg(r.width());
    const QString withHeight = at + QStringLiteral(", %1, c%2, -, ").arg(r.height()).arg(i);
    switch (i % kKinds) {
    case 0: return QStringLiteral("CreateButton ") + withHeight + QStringLiteral("\"Go\"");
    case 1: return QStringLiteral("CreateLabel ") + withHeight + QStringLiteral("\"Name:\"");
    case 2: return QStringLiteral("CreateTextbox ") + withHeight + QStringLiteral("\"text\"");
    case 3: return QStringLiteral("CreateCheckbox ") + withHeight + QStringLiteral("\"Check\"");
    case 4: return QStringLiteral("CreateListbox ") + withHeight + QStringLiteral("\"One|Two|Three\"");
    default:
        return QStringLiteral("CreateCombobox ") + at + QStringLiteral(", c%1, \"edit\", \"One|Two|Three\"").arg(i);
    }
}

QByteArray scriptOf(int count)
{
    QString script = QStringLiteral("CreateWindow 0, 0, 900, 700, -, , \"Bench\"\r\n");
    for (int i = 0; i < count; ++i)
        script += scriptLine(i) + QStringLiteral("\r\n");
    return script.toUtf8();
}

template <typename W>
W *placed(QWidget *window, int i)
{
    auto *widget = new W(window);
    widget->hide();
    widget->setObjectName(QStringLiteral("c%1").arg(i));
    widget->setGeometry(placeOf(i));
    return widget;
}

// The widgets the script asks for, made the way a Qt program would.
void buildDirectly(QWidget *window, int i)
{
    QWidget *widget = nullptr;
    switch (i % kKinds) {
    case 0: widget = placed<QPushButton>(window, i); static_cast<QPushButton *>(widget)->setText(QStringLiteral("Go")); break;
    case 1: {
        auto *label = placed<QLabel>(window, i);
        label->setTextFormat(Qt::PlainText);
        label->setText(QStringLiteral("Name:"));
        widget = label;
        break;
    }
    case 2: widget = placed<QLineEdit>(window, i); static_cast<QLineEdit *>(widget)->setText(QStringLiteral("text")); break;
    case 3: widget = placed<QCheckBox>(window, i); static_cast<QCheckBox *>(widget)->setText(QStringLiteral("Check")); break;
    case 4: widget = placed<QListWidget>(window, i); static_cast<QListWidget *>(widget)->addItems(kEntries); break;
    default: {
        auto *combo = placed<QComboBox>(window, i);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->resize(combo->width(), combo->sizeHint().height());
        combo->setEditText(QStringLiteral("edit"));
        widget = combo;
        break;
    }
    }
    widget->show();
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        combo->addItems(kEntries);
        combo->setCurrentIndex(0);
    }
}

void direct(int count)
{
    auto *window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(QStringLiteral("wTemplate"));
    window->setGeometry(0, 0, 900, 700);
    window->setWindowTitle(QStringLiteral("Bench"));
    window->show();
    for (int i = 0; i < count; ++i)
        buildDirectly(window, i);
    platform::registerLoadedWindow(window);
}

void clearWindows()
{
    // Deliver what the build posted first: a widget destroyed with events
    // still queued searches the whole queue, which is slow for many widgets.
    QCoreApplication::processEvents();
    for (QWidget *window : platform::loadedWindows())
        platform::unloadWindow(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

double timeOnce(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    clearWindows();
    return ms;
}

// Other processes on the machine only ever add time, so the fastest round
// is the best estimate of each side's own cost.
double fastest(const QList<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Optional arguments: "-r ROUNDS" and the control counts to measure.
    QStringList args = app.arguments().mid(1);
    int fixedRounds = 0;
    if (args.size() >= 2 && args.first() == QLatin1String("-r")) {
        fixedRounds = args.at(1).toInt();
        args = args.mid(2);
    }
    QList<int> counts{200, 2000, 10000};
    if (!args.isEmpty()) {
        counts.clear();
        for (const QString &arg : args)
            counts.append(arg.toInt());
    }
    QTemporaryDir dir;
    interpreter::SilentRunHost host;
    std::printf("%8s %14s %14s %14s %14s %8s\n", "N", "script ms", "direct ms", "script us/ctl", "direct us/ctl",
                "ratio");
    for (int count : counts) {
        const QString path = dir.filePath(QStringLiteral("bench_%1.txt").arg(count));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(scriptOf(count)) < 0)
            return 1;
        file.close();
        // One untimed round first: the first widgets of each kind pay for
        // styles, fonts and caches that every later one finds ready.
        timeOnce([&] { interpreter::CompileSource(path, interpreter::CompileNormally, host); });
        timeOnce([&] { direct(count); });
        const int rounds = fixedRounds > 0 ? fixedRounds : count >= 10000 ? 5 : 9;
        QList<double> scripted, built;
        for (int round = 0; round < rounds; ++round) {
            // Alternate the order so that neither side always follows the other.
            const auto runScript = [&] { scripted.append(timeOnce([&] { interpreter::CompileSource(path, interpreter::CompileNormally, host); })); };
            const auto runDirect = [&] { built.append(timeOnce([&] { direct(count); })); };
            if (round % 2 == 0) {
                runScript();
                runDirect();
            } else {
                runDirect();
                runScript();
            }
        }
        const double s = fastest(scripted), d = fastest(built);
        std::printf("%8d %14.2f %14.2f %14.2f %14.2f %8.3f\n", count, s, d, s * 1000 / count, d * 1000 / count, s / d);
        std::fflush(stdout);
    }
    return 0;
}
