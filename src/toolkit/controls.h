// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <variant>

class QWidget;

namespace toolkit {

// A picture loaded from a file, ready for an image control's Picture.
struct Picture {
    QPixmap pixmap;
    QString path; // the file it was loaded from
};

// Loads a picture through Qt's image readers. Raises 53 for a missing file,
// 76 for a missing folder, 75 for a file that cannot be read and 481 for a
// file no image reader accepts.
Picture loadPicture(const QString &path);

using PropertyValue = std::variant<QString, bool, int, Picture>;

// A handle on one control of an output window, as the interpreter sees it.
class Control {
public:
    // kind is the index createControlWidget gave; -1 knows only the
    // properties every kind has.
    explicit Control(QWidget *widget, int kind = -1);
    // A handle on a control that a live run keeps as the last live run made
    // it: setting its properties, content or entries does nothing.
    static Control kept(QWidget *widget, int kind);
    bool isKept() const { return m_kept; }

    // Sets a property by its name ("Left", "Caption", "Visible"...). Text
    // given for a number is converted with the locale's rules (13 when it is
    // not a number). Raises 438 for a property the kind does not have, 383 for
    // one it only reports and 380 for a value it refuses.
    void setProperty(const QString &property, const PropertyValue &value);
    // Sets the property a creation command fills for the control's kind
    // ("Caption" of a button, "Text" of a text box...); 438 for a kind
    // without one.
    void setContent(const PropertyValue &value);
    // Appends entries to a list or combo box (438 on other kinds) in one go:
    // one model change instead of one per entry.
    void addItems(const QStringList &entries);

private:
    QWidget *widgetOrRaise() const;

    QPointer<QWidget> m_widget;
    int m_kind = -1; // index in the kind table
    bool m_kept = false;
};

// Creates the widget of a class identifier ("VB.CommandButton"...), hidden,
// as a child of parent, and stores the index of its kind in kind. Raises 711
// for an unknown class identifier.
QWidget *createControlWidget(const QString &classId, QWidget *parent, int &kind);

// The kind index of a class identifier, as createControlWidget gives it; -1
// for an unknown class identifier.
int controlKindOf(const QString &classId);

// Whether a kind's height follows its font, so that a script sets only its
// width (combo box, drive list).
bool hasFixedHeight(int kind);

// The class identifier of a kind index createControlWidget gave; empty for
// any other index.
QString controlClassId(int kind);

} // namespace toolkit
