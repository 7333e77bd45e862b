// SPDX-License-Identifier: MIT
#pragma once

// The control kinds behind the class identifiers, shared between the files
// that build them. Only the toolkit includes this header.

#include "toolkit/controls.h"
#include "toolkit/controlvalues.h"

class QWidget;

namespace toolkit::kinds {

// Property values as the kinds need them: text, a number with the locale's
// rules (13 when the text is not a number), a picture (481 otherwise).
QString textOf(const PropertyValue &value);
double numberOf(const PropertyValue &value);

// A kind's widget as the toolkit makes it: created hidden.
template <typename W>
QWidget *make(QWidget *parent)
{
    auto *widget = new W(parent);
    widget->hide();
    return widget;
}

// Each kind's factory makes its widget hidden; each content setter returns
// false for a property the kind does not have and raises for one it refuses.
// Kinds that draw their caption only as far as it can be seen.
QWidget *makeCaptionButton(QWidget *parent);
QWidget *makeCaptionCheckBox(QWidget *parent);
QWidget *makeCaptionFrame(QWidget *parent);
QWidget *makeCaptionLabel(QWidget *parent);

QWidget *makeComboBox(QWidget *parent);
bool setComboBoxContent(QWidget *w, const QString &property, const PropertyValue &value);
void addComboBoxItems(QWidget *w, const QStringList &entries);

bool setListBoxContent(QWidget *w, const QString &property, const PropertyValue &value);
void addListBoxItems(QWidget *w, const QStringList &entries);

QWidget *makeDriveListBox(QWidget *parent);
bool setDriveListBoxContent(QWidget *w, const QString &property, const PropertyValue &value);

QWidget *makeDirListBox(QWidget *parent);
bool setDirListBoxContent(QWidget *w, const QString &property, const PropertyValue &value);

bool setFileListBoxContent(QWidget *w, const QString &property, const PropertyValue &value);

QWidget *makeImage(QWidget *parent);
bool setImageContent(QWidget *w, const QString &property, const PropertyValue &value);

// How the kinds that hold a value give it to a --run answer.
using ValueReader = void (*)(QWidget *widget, ControlValue &value);
void readTextBox(QWidget *w, ControlValue &v);
void readCheckBox(QWidget *w, ControlValue &v);
void readListBox(QWidget *w, ControlValue &v);
void readComboBox(QWidget *w, ControlValue &v);
void readDriveListBox(QWidget *w, ControlValue &v);
void readDirListBox(QWidget *w, ControlValue &v);
void readFileListBox(QWidget *w, ControlValue &v);
// The reader of a class identifier's kind; null for a kind that holds no value.
ValueReader valueReaderOf(const QString &classId);

} // namespace toolkit::kinds
