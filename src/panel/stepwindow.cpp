// SPDX-License-Identifier: MIT
#include "panel/stepwindow.h"

#include "panel/buttons.h"
#include "platform/units.h"
#include "toolkit/loadedwindows.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace panel {

namespace {
// The window's design in twips: its client area, its controls and the place
// every load puts it.
constexpr int kClientWidthTwips = 4125;
constexpr int kClientHeightTwips = 2985;
constexpr QPoint kPlaceTwips(100, 5000);
constexpr QRect kNextLineButtonTwips(570, 1335, 2970, 690);
constexpr QRect kNormallyButtonTwips(577, 2055, 2970, 690);
constexpr QRect kLabelTwips(892, 615, 2340, 240);
} // namespace

StepWindow::StepWindow()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("wStepCompile"));
    setWindowTitle(QStringLiteral("Cheese Armpits"));
    setFixedSize(platform::twipsToPixelsX(kClientWidthTwips), platform::twipsToPixelsY(kClientHeightTwips));

    m_nextLineButton = makeButton(this, "cmdCompileNextLine", QStringLiteral("Compile the next line"),
                                      platform::twipsToPixels(kNextLineButtonTwips));
    // Present but never enabled: it has no action.
    m_compileNormallyButton =
        makeButton(this, "cmdCompileNormally", QStringLiteral("Compile normally"), platform::twipsToPixels(kNormallyButtonTwips));
    m_compileNormallyButton->setEnabled(false);
    m_message = new QLabel(QStringLiteral("Your mum smells of burnt rubber."), this);
    m_message->setObjectName(QStringLiteral("txtBlah"));
    m_message->setTextFormat(Qt::PlainText);
    // The design width fits the text only in the font it was drawn with; a
    // wider font gets the room it needs, around the same centre.
    const QRect design = platform::twipsToPixels(kLabelTwips);
    const QSize needed = m_message->sizeHint();
    const int width = qMax(design.width(), needed.width());
    m_message->setGeometry(design.center().x() - width / 2, design.y(), width, qMax(design.height(), needed.height()));

    setTabOrder(m_compileNormallyButton, m_nextLineButton);
    m_nextLineButton->setFocus();
    connect(m_nextLineButton, &QPushButton::clicked, this, &QWidget::close);
    placeOnScreen();
}

void StepWindow::placeOnScreen()
{
    // The same place on every load, wherever the user moved the last one.
    move(platform::twipsToPixelsX(kPlaceTwips.x()), platform::twipsToPixelsY(kPlaceTwips.y()));
}

void StepWindow::keyPressEvent(QKeyEvent *event)
{
    // QDialog closes on Escape as on the close box; only Escape stops.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        m_stopRequested = true;
    QDialog::keyPressEvent(event);
}

bool showStepWindow()
{
    QPointer<StepWindow> window = new StepWindow;
    toolkit::registerLoadedWindow(window);
    window->exec();
    // The control panel may already have unloaded it while it was up.
    const bool goOn = !window || !window->stopRequested();
    delete window.data();
    return goOn;
}

} // namespace panel
