// SPDX-License-Identifier: MIT
#include "toolkit/accessiblenames.h"

#include "toolkit/classids.h"
#include "toolkit/controlvalues.h"

#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <optional>

namespace toolkit {

namespace {
constexpr int kMaxGapToTheLeft = 24;
constexpr int kMaxGapAbove = 12;

struct InputKind {
    const char *classId;
    const char *description;
};

const InputKind kInputKinds[] = {
    {classid::TextBox, "text box"},       {classid::ComboBox, "combo box"},
    {classid::ListBox, "list box"},       {classid::DriveListBox, "drive list"},
    {classid::DirListBox, "folder list"}, {classid::FileListBox, "file list"},
};

// What a screen reader calls a kind of input control; null for other kinds.
const char *inputKindOf(const QString &classId)
{
    for (const InputKind &kind : kInputKinds) {
        if (classId == QLatin1String(kind.classId))
            return kind.description;
    }
    return nullptr;
}

bool spansOverlap(int start, int length, int otherStart, int otherLength)
{
    return start < otherStart + otherLength && otherStart < start + length;
}

// The gap between a label and a control it stands left of (0 when the
// label reaches into the control); nothing when it does not stand there.
std::optional<int> gapToTheLeft(const QRect &label, const QRect &control)
{
    if (label.x() >= control.x() || !spansOverlap(label.y(), label.height(), control.y(), control.height()))
        return std::nullopt;
    const int gap = std::max(0, control.x() - (label.x() + label.width()));
    return gap <= kMaxGapToTheLeft ? std::optional(gap) : std::nullopt;
}

std::optional<int> gapAbove(const QRect &label, const QRect &control)
{
    if (label.y() >= control.y() || !spansOverlap(label.x(), label.width(), control.x(), control.width()))
        return std::nullopt;
    const int gap = std::max(0, control.y() - (label.y() + label.height()));
    return gap <= kMaxGapAbove ? std::optional(gap) : std::nullopt;
}

// A caption as it reads with its mnemonic shown: each & is left out and the
// character after it kept, so "&&" reads as one "&".
QString captionWithoutMnemonic(const QString &caption)
{
    QString read;
    read.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&'))
            ++i;
        if (i < caption.size())
            read.append(caption[i]);
    }
    return read;
}

using Placement = std::optional<int> (*)(const QRect &label, const QRect &control);

// A control to be named and the label found for it so far.
struct InputControl {
    NamedControl control;
    const char *kind = nullptr;
    QLabel *label = nullptr;
};

// The nearest free label in that placement; of labels equally near, the
// first the script made. Null when none stands there.
QLabel *nearestFreeLabel(const QList<QLabel *> &freeLabels, const QRect &control, Placement placement)
{
    QLabel *nearest = nullptr;
    int nearestGap = 0;
    for (QLabel *label : freeLabels) {
        const std::optional<int> gap = placement(label->geometry(), control);
        if (gap && (!nearest || *gap < nearestGap)) {
            nearest = label;
            nearestGap = *gap;
        }
    }
    return nearest;
}

// Gives each control without a label yet the nearest free label in that
// placement, in script order; a label given away is no longer free.
void findLabels(QList<InputControl> &inputs, QList<QLabel *> &freeLabels, Placement placement)
{
    for (InputControl &input : inputs) {
        if (input.label)
            continue;
        input.label = nearestFreeLabel(freeLabels, input.control.widget->geometry(), placement);
        if (input.label)
            freeLabels.removeOne(input.label);
    }
}

bool canName(const QLabel *label, const QWidget *window)
{
    return label->isVisibleTo(window) && !captionWithoutMnemonic(label->text()).trimmed().isEmpty();
}

void nameImage(QWidget *image, const QString &scriptName)
{
    // The image kind gives the picture file's base name when it loads one.
    if (!image->toolTip().isEmpty())
        image->setAccessibleName(image->toolTip());
    else if (image->accessibleName().isEmpty())
        image->setAccessibleName(scriptName);
}

void nameInput(const InputControl &input)
{
    QWidget *widget = input.control.widget;
    const QString name = input.label ? captionWithoutMnemonic(input.label->text()) : input.control.name;
    widget->setAccessibleName(name);
    // An editable combo box shows its own text box among its children.
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(name);
    // Lists and folder trees do not fall back on their tool tip by themselves.
    if (!input.label)
        widget->setAccessibleDescription(widget->toolTip());
}

// Each label's buddy is the control it names, or none. A label is changed
// only where its buddy changes: a change repaints the label, and with it
// every control that overlaps it, and the live window names its controls
// again after each update.
void setBuddies(const QList<QLabel *> &labels, const QList<InputControl> &inputs)
{
    QHash<QLabel *, QWidget *> buddies;
    for (const InputControl &input : inputs) {
        if (input.label)
            buddies.insert(input.label, input.control.widget);
    }
    for (QLabel *label : labels) {
        QWidget *buddy = buddies.value(label);
        if (label->buddy() != buddy)
            label->setBuddy(buddy);
    }
}
} // namespace

QList<UnlabelledControl> nameControls(QWidget *window)
{
    QList<InputControl> inputs;
    QList<QLabel *> labels;
    QList<QLabel *> freeLabels;
    for (const NamedControl &control : controlsInOrder(window)) {
        if (const char *kind = inputKindOf(control.classId)) {
            inputs.append({control, kind, nullptr});
        } else if (control.classId == QLatin1String(classid::Label)) {
            auto *label = static_cast<QLabel *>(control.widget);
            labels.append(label);
            if (canName(label, window))
                freeLabels.append(label);
        } else if (control.classId == QLatin1String(classid::Image)) {
            nameImage(control.widget, control.name);
        }
    }
    // A label beside a control names it before any label above another.
    findLabels(inputs, freeLabels, gapToTheLeft);
    findLabels(inputs, freeLabels, gapAbove);
    setBuddies(labels, inputs);
    QList<UnlabelledControl> unlabelled;
    for (const InputControl &input : inputs) {
        nameInput(input);
        if (!input.label && input.control.widget->isVisibleTo(window))
            unlabelled.append({input.control.name, QLatin1String(input.kind)});
    }
    return unlabelled;
}

} // namespace toolkit
