// SPDX-License-Identifier: MIT
#include "toolkit/controls.h"

#include "platform/error.h"
#include "platform/localerules.h"
#include "platform/visibletext.h"
#include "toolkit/buttonstyle.h"
#include "toolkit/classids.h"
#include "toolkit/controlkinds.h"
#include "toolkit/outputwindowwidget.h"
#include "toolkit/runbudget.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <cmath>

namespace toolkit {

namespace kinds {

QString textOf(const PropertyValue &value)
{
    if (const auto *text = std::get_if<QString>(&value))
        return *text;
    if (const auto *flag = std::get_if<bool>(&value))
        return *flag ? QStringLiteral("True") : QStringLiteral("False");
    if (const auto *number = std::get_if<int>(&value))
        return QString::number(*number);
    platform::raiseError(platform::ErrTypeMismatch);
}

double numberOf(const PropertyValue &value)
{
    if (const auto *number = std::get_if<int>(&value))
        return *number;
    if (const auto *flag = std::get_if<bool>(&value))
        return *flag ? -1 : 0;
    return platform::toNumber(textOf(value));
}

} // namespace kinds

namespace {

using namespace kinds;

using Factory = QWidget *(*)(QWidget *parent);
// Sets a content property; returns false when the kind has no such property.
using ContentSetter = bool (*)(QWidget *widget, const QString &property, const PropertyValue &value);

// Appends entries in order, as that many single appends would.
using ItemAdder = void (*)(QWidget *widget, const QStringList &entries);

// Everything the program knows of a kind, one row per kind.
struct ControlKind {
    const char *classId;
    Factory create;
    // The property a creation command fills, and how any content property is set.
    const char *contentProperty;
    ContentSetter setContent;
    ItemAdder addItem = nullptr;     // only list and combo boxes take entries
    bool fixedHeight = false;        // the height follows the font; Height is read-only
    ValueReader readValue = nullptr; // what a --run answer gives for it
};

bool boolOf(const PropertyValue &value)
{
    if (const auto *flag = std::get_if<bool>(&value))
        return *flag;
    if (const auto *number = std::get_if<int>(&value))
        return *number != 0;
    const QString text = textOf(value);
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return platform::toNumber(text) != 0;
}

// The simple kinds have one text property, "Caption" or "Text", which sets
// one text of their widget.
template <typename W, void (W::*apply)(const QString &), bool isCaption>
bool setOneText(QWidget *w, const QString &property, const PropertyValue &value)
{
    if (property != (isCaption ? QLatin1String("Caption") : QLatin1String("Text")))
        return false;
    (static_cast<W *>(w)->*apply)(textOf(value));
    return true;
}

QWidget *makePushButton(QWidget *parent)
{
    QWidget *button = makeCaptionButton(parent);
    button->setStyle(buttonPanelStyle());
    return button;
}

using namespace classid;
const ControlKind kKinds[] = {
    {CommandButton, makePushButton, "Caption", setOneText<QAbstractButton, &QAbstractButton::setText, true>},
    {Frame, makeCaptionFrame, "Caption", setOneText<QGroupBox, &QGroupBox::setTitle, true>},
    {TextBox, make<QLineEdit>, "Text", setOneText<QLineEdit, &QLineEdit::setText, false>, nullptr, false, readTextBox},
    {Label, makeCaptionLabel, "Caption", setOneText<QLabel, &QLabel::setText, true>},
    {CheckBox, makeCaptionCheckBox, "Caption", setOneText<QAbstractButton, &QAbstractButton::setText, true>, nullptr,
     false, readCheckBox},
    {ComboBox, makeComboBox, "Text", setComboBoxContent, addComboBoxItems, true, readComboBox},
    {ListBox, make<QListWidget>, nullptr, setListBoxContent, addListBoxItems, false, readListBox},
    {Image, makeImage, "Picture", setImageContent},
    {DriveListBox, makeDriveListBox, "Drive", setDriveListBoxContent, nullptr, true, readDriveListBox},
    {DirListBox, makeDirListBox, "Path", setDirListBoxContent, nullptr, false, readDirListBox},
    {FileListBox, make<QListWidget>, "Path", setFileListBoxContent, nullptr, false, readFileListBox},
};

const ControlKind *kindAt(int index)
{
    return index >= 0 && index < int(std::size(kKinds)) ? &kKinds[index] : nullptr;
}

// Left, Top, Width and Height are pixels of the window's client area.
bool setGeometryProperty(QWidget *w, const QString &property, const PropertyValue &value)
{
    const bool isLeft = property == QLatin1String("Left");
    const bool isTop = property == QLatin1String("Top");
    const bool isWidth = property == QLatin1String("Width");
    const bool isHeight = property == QLatin1String("Height");
    if (!isLeft && !isTop && !isWidth && !isHeight)
        return false;
    const double number = numberOf(value);
    if (!std::isfinite(number))
        platform::raiseError(platform::ErrOverflow);
    const double pixels = std::round(number);
    QRect r = w->geometry();
    const double left = isLeft ? pixels : r.x();
    const double top = isTop ? pixels : r.y();
    const double width = isWidth ? pixels : r.width();
    const double height = isHeight ? pixels : r.height();
    checkPixelGeometry(left, top, width, height);
    w->setGeometry(int(left), int(top), int(width), int(height));
    return true;
}

bool setCommonProperty(QWidget *w, const QString &property, const PropertyValue &value)
{
    if (property == QLatin1String("Visible"))
        w->setVisible(boolOf(value));
    else if (property == QLatin1String("Enabled"))
        w->setEnabled(boolOf(value));
    else if (property == QLatin1String("ToolTipText"))
        w->setToolTip(platform::visibleBoxText(textOf(value))); // laid out whole at every hover
    else
        return setGeometryProperty(w, property, value);
    return true;
}

} // namespace

Control::Control(QWidget *widget, int kind) : m_widget(widget), m_kind(kind) {}

Control Control::kept(QWidget *widget, int kind)
{
    Control control(widget, kind);
    control.m_kept = true;
    return control;
}

// The control's widget; 5 when its window has been closed since.
QWidget *Control::widgetOrRaise() const
{
    QWidget *w = m_widget.data();
    if (!w)
        platform::raiseError(platform::ErrInvalidArgument);
    return w;
}

void Control::setProperty(const QString &property, const PropertyValue &value)
{
    if (m_kept)
        return;
    QWidget *w = widgetOrRaise();
    const ControlKind *kind = kindAt(m_kind);
    if (kind && kind->fixedHeight && property == QLatin1String("Height"))
        platform::raiseError(platform::ErrReadOnlyProperty);
    if (setCommonProperty(w, property, value))
        return;
    if (kind && kind->setContent(w, property, value))
        return;
    platform::raiseError(platform::ErrNoSuchProperty);
}

void Control::setContent(const PropertyValue &value)
{
    if (m_kept)
        return;
    const ControlKind *kind = kindAt(m_kind);
    if (!kind || !kind->contentProperty)
        platform::raiseError(platform::ErrNoSuchProperty);
    setProperty(QLatin1String(kind->contentProperty), value);
}

void Control::addItems(const QStringList &entries)
{
    if (m_kept)
        return;
    QWidget *w = widgetOrRaise();
    const ControlKind *kind = kindAt(m_kind);
    if (!kind || !kind->addItem)
        platform::raiseError(platform::ErrNoSuchProperty);
    chargeRunMemory(w, entriesBytes(entries));
    kind->addItem(w, entries);
}

int controlKindOf(const QString &classId)
{
    for (int i = 0; i < int(std::size(kKinds)); ++i) {
        if (classId == QLatin1String(kKinds[i].classId))
            return i;
    }
    return -1;
}

QWidget *createControlWidget(const QString &classId, QWidget *parent, int &kind)
{
    const int found = controlKindOf(classId);
    if (found < 0)
        platform::raiseError(platform::ErrInvalidClass);
    kind = found;
    return kKinds[found].create(parent);
}

namespace kinds {
ValueReader valueReaderOf(const QString &classId)
{
    for (const ControlKind &kind : kKinds) {
        if (classId == QLatin1String(kind.classId))
            return kind.readValue;
    }
    return nullptr;
}
} // namespace kinds

bool hasFixedHeight(int kind)
{
    const ControlKind *found = kindAt(kind);
    return found && found->fixedHeight;
}

QString controlClassId(int kind)
{
    const ControlKind *found = kindAt(kind);
    return found ? QLatin1String(found->classId) : QString();
}

} // namespace toolkit
