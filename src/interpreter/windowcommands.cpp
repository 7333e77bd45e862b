// SPDX-License-Identifier: MIT
#include "interpreter/commands.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"
#include "platform/localerules.h"
#include "platform/units.h"

namespace interpreter {

void applyWindowOptions(toolkit::OutputWindow &window, const QString &options)
{
    // The pieces are not trimmed: " $10" is not the option.
    const QStringList pieces = options.split(QLatin1Char('|'), Qt::KeepEmptyParts);
    for (const QString &piece : pieces) {
        if (piece == QLatin1String("$10"))
            window.setBorderStyle(0);
    }
}

namespace commands {

void createWindow(RunState &run, const ArgumentList &args, const Command &)
{
    toolkit::OutputWindow &window = run.window();
    const float tx = platform::twipsPerPixelX();
    const float ty = platform::twipsPerPixelY();
    window.setLeft(platform::checkedSingleProduct(platform::toNumber(args.at(1)), tx));
    window.setTop(platform::checkedSingleProduct(platform::toNumber(args.at(2)), ty));
    // The width alone is read leniently: text that is no number gives 0.
    window.setWidth(platform::checkedSingleProduct(platform::leadingNumber(args.at(3)), tx));
    window.setHeight(platform::checkedSingleProduct(platform::toNumber(args.at(4)), ty));
    window.setCaption(stripQuotes(args.at(7)));
    applyWindowOptions(window, args.at(6));
    if (run.showWindow)
        window.show();
}

void setWindowTitle(RunState &run, const ArgumentList &args, const Command &)
{
    run.window().setCaption(stripQuotes(args.at(1)));
}

} // namespace commands
} // namespace interpreter
