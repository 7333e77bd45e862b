// SPDX-License-Identifier: MIT
#include "interpreter/newcontrols.h"

#include "interpreter/linegeometry.h"

namespace interpreter {

namespace {
struct NewControl {
    const char *kind;
    const char *keyword;
    const char *prefix;
    int width;
    int height; // 0 for the kinds whose height the script does not set
    const char *rest; // the arguments after the name
};

const NewControl kNewControls[] = {
    {"Button", "CreateButton", "cmd", 80, 24, "-, \"Button\""},
    {"Label", "CreateLabel", "lbl", 80, 20, "-, \"Label\""},
    {"Text Box", "CreateTextbox", "txt", 120, 22, "-, \"Text\""},
    {"Check Box", "CreateCheckbox", "chk", 120, 22, "-, \"Check\""},
    {"Combo Box", "CreateCombobox", "cbo", 120, 0, "\"Combo\", \"One|Two|Three\""},
    {"List Box", "CreateListbox", "lst", 120, 80, "-, \"One|Two|Three\""},
    {"Frame", "CreateFrame", "fra", 160, 100, "-, \"Frame\""},
    {"Image", "CreateImage", "img", 32, 32, "-, \"\""},
    {"Drive List", "CreateDrivelist", "drv", 160, 0, "-, \"/\""},
    {"Folder List", "CreateDirlist", "dir", 160, 120, "-, \".\""},
    {"File List", "CreateFilelist", "fil", 160, 120, "-, \".\""},
};

const NewControl &newControl(int kind)
{
    return kNewControls[qBound(0, kind, int(std::size(kNewControls)) - 1)];
}
} // namespace

QStringList newControlKinds()
{
    QStringList kinds;
    for (const NewControl &control : kNewControls)
        kinds.append(QLatin1String(control.kind));
    return kinds;
}

QString newControlPrefix(int kind)
{
    return QLatin1String(newControl(kind).prefix);
}

QString newControlLine(int kind, const QString &name, const QPoint &at)
{
    const NewControl &control = newControl(kind);
    QStringList arguments{numberText(at.x()), numberText(at.y()), numberText(control.width)};
    if (control.height > 0)
        arguments.append(numberText(control.height));
    arguments << name << QLatin1String(control.rest);
    return QLatin1String(control.keyword) + u' ' + arguments.join(QLatin1String(", "));
}

} // namespace interpreter
