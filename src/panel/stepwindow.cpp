#include "panel/stepwindow.h"

#include "panel/buttons.h"
#include "toolkit/loadedwindows.h"
#include "platform/units.h"

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

    m_cmdCompileNextLine = makeButton(this, "cmdCompileNextLine", QStringLiteral("Compile the next line"),
                                      platform::twipsToPixels(kNextLineButtonTwips));
    // Present but never enabled: it has no action.
    m_cmdCompileNormally =
        makeButton(this, "cmdCompileNormally", QStringLiteral("Compile normally"), platform::twipsToPixels(kNormallyButtonTwips));
    m_cmdCompileNormally->setEnabled(false);
    m_txtBlah = new QLabel(QStringLiteral("Your mum smells of burnt rubber."), this);
    m_txtBlah->setObjectName(QStringLiteral("txtBlah"));
    m_txtBlah->setTextFormat(Qt::PlainText);
    // The design width fits the text only in the font it was drawn with; a
    // wider font gets the room it needs, around the same centre.
    const QRect design = platform::twipsToPixels(kLabelTwips);
    const QSize needed = m_txtBlah->sizeHint();
    const int width = qMax(design.width(), needed.width());
    m_txtBlah->setGeometry(design.center().x() - width / 2, design.y(), width, qMax(design.height(), needed.height()));

    setTabOrder(m_cmdCompileNormally, m_cmdCompileNextLine);
    m_cmdCompileNextLine->setFocus();
    connect(m_cmdCompileNextLine, &QPushButton::clicked, this, &StepWindow::cmdCompileNextLine_Click);
    Form_Load();
}

void StepWindow::Form_Load()
{
    // The same place on every load, wherever the user moved the last one.
    move(platform::twipsToPixelsX(kPlaceTwips.x()), platform::twipsToPixelsY(kPlaceTwips.y()));
}

void StepWindow::cmdCompileNextLine_Click() { close(); }

void showStepWindow()
{
    QPointer<StepWindow> window = new StepWindow;
    toolkit::registerLoadedWindow(window);
    window->exec();
    // The control panel may already have unloaded it while it was up.
    delete window.data();
}

} // namespace panel
