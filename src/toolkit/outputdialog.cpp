#include "toolkit/outputdialog.h"

#include "toolkit/controls.h"
#include "toolkit/loadedwindows.h"
#include "toolkit/outputwindowwidget.h"
#include "platform/error.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QImage>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

namespace toolkit {

namespace {
constexpr qint64 kMaxPicturePixels = 67108864; // 256 MB at 4 bytes per pixel
const QLatin1String kButtonClass("VB.CommandButton");
const QLatin1String kAnswerClose(":close");
const QLatin1String kAnswerEscape(":escape");

struct NamedControl {
    QString name;
    QWidget *widget = nullptr;
    QString classId;
};

// The window's controls in the order the script created them: Qt keeps child
// widgets in creation order, and the window's registry tells controls from
// any other child and gives their kind.
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

QString selectedListData(QWidget *w, int role)
{
    const QList<QListWidgetItem *> selected = static_cast<QListWidget *>(w)->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(role).toString();
}

// How each kind that holds a value gives it.
struct ValueKind {
    const char *classId;
    void (*read)(QWidget *widget, ControlValue &value);
};

const ValueKind kValueKinds[] = {
    {"VB.TextBox", [](QWidget *w, ControlValue &v) { v.text = static_cast<QLineEdit *>(w)->text(); }},
    {"VB.CheckBox", [](QWidget *w, ControlValue &v) { v.checked = static_cast<QCheckBox *>(w)->isChecked(); }},
    {"VB.ListBox", [](QWidget *w, ControlValue &v) { v.text = selectedListData(w, Qt::DisplayRole); }},
    {"VB.ComboBox", [](QWidget *w, ControlValue &v) { v.text = static_cast<QComboBox *>(w)->currentText(); }},
    {"VB.DriveListBox",
     [](QWidget *w, ControlValue &v) { v.text = static_cast<QComboBox *>(w)->currentData().toString(); }},
    {"VB.DirListBox",
     [](QWidget *w, ControlValue &v) {
         const QTreeWidgetItem *shown = static_cast<QTreeWidget *>(w)->currentItem();
         v.text = shown ? shown->data(0, Qt::UserRole).toString() : QString();
     }},
    {"VB.FileListBox", [](QWidget *w, ControlValue &v) { v.text = selectedListData(w, Qt::UserRole); }},
};
} // namespace

QList<ControlValue> controlValues(QWidget *window)
{
    QList<ControlValue> values;
    for (const NamedControl &control : controlsInOrder(window)) {
        for (const ValueKind &kind : kValueKinds) {
            if (control.classId != QLatin1String(kind.classId))
                continue;
            ControlValue value{control.name, {}, {}};
            kind.read(control.widget, value);
            values.append(value);
        }
    }
    return values;
}

QWidget *newestOutputWindow()
{
    const QList<QWidget *> windows = loadedWindows();
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        if (qobject_cast<OutputWindowWidget *>(windows[i]))
            return windows[i];
    }
    return nullptr;
}

OutputDialog::OutputDialog(QWidget *window) : m_window(window)
{
    if (!m_window)
        return;
    // The window outlives its closing, so that its values can be read.
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    for (const NamedControl &control : controlsInOrder(m_window)) {
        if (control.classId == kButtonClass)
            connect(static_cast<QAbstractButton *>(control.widget), &QAbstractButton::clicked, this,
                    [this, name = control.name] { closeByButton(name); });
    }
    m_window->installEventFilter(this);
}

QString OutputDialog::exec()
{
    if (!m_window)
        return {};
    if (!m_window->isVisible())
        m_window->show();
    QEventLoop loop;
    m_loop = &loop;
    if (!m_closed)
        loop.exec();
    m_loop = nullptr;
    return m_button;
}

void OutputDialog::closeByButton(const QString &name)
{
    m_button = name;
    m_window->close();
}

bool OutputDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::KeyPress) {
        // Reaches the window when the control with the focus has no use for it.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            m_window->close();
            return true;
        }
    }
    if (watched == m_window && event->type() == QEvent::Close) {
        m_closed = true;
        if (m_loop)
            m_loop->quit();
    }
    return QObject::eventFilter(watched, event);
}

bool OutputDialog::answer(const QString &how)
{
    if (!m_window)
        return false;
    if (how == kAnswerEscape) {
        QWidget *focus = m_window->focusWidget();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(focus ? focus : m_window.data(), &escape);
        return true;
    }
    if (how != kAnswerClose) {
        for (const NamedControl &control : controlsInOrder(m_window)) {
            if (control.classId == kButtonClass && control.name.compare(how, Qt::CaseInsensitive) == 0) {
                static_cast<QAbstractButton *>(control.widget)->click();
                return true;
            }
        }
    }
    m_window->close();
    return how == kAnswerClose;
}

void saveClientAreaPicture(QWidget *window, double scale, const QString &pngPath)
{
    const QSize size = (QSizeF(window->size()) * scale).toSize();
    if (size.isEmpty())
        platform::raiseError(platform::ErrInvalidPropertyValue, QStringLiteral("The window's client area is empty"));
    if (qint64(size.width()) * size.height() > kMaxPicturePixels)
        platform::raiseError(platform::ErrInvalidPropertyValue, QStringLiteral("A picture of %1 x %2 pixels is larger than %3 pixels")
                                                .arg(size.width())
                                                .arg(size.height())
                                                .arg(kMaxPicturePixels));
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        platform::raiseError(platform::ErrOutOfMemory);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::transparent);
    // Layout and polish requests still queued would change what is drawn.
    QCoreApplication::sendPostedEvents();
    window->render(&picture);
    QImageWriter writer(pngPath, "png");
    if (!writer.write(picture))
        platform::raiseError(platform::ErrFileAccess, writer.errorString());
}

} // namespace toolkit
