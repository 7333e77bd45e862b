#include "panel/mainwindow.h"

#include "interpreter/commandtable.h"
#include "interpreter/compilesource.h"
#include "panel/buttons.h"
#include "panel/failureplace.h"
#include "panel/runcursor.h"
#include "panel/scriptdocument.h"
#include "panel/shortcuts.h"
#include "panel/sourcefiles.h"
#include "panel/stepwindow.h"
#include "platform/defaultscript.h"
#include "platform/capslock.h"
#include "editor/findbar.h"
#include "toolkit/loadedwindows.h"
#include "platform/messagebox.h"
#include "editor/scripteditor.h"
#include "editor/scripthighlighter.h"
#include "platform/units.h"
#include "platform/visibletext.h"

#include <QCloseEvent>
#include <QLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QInputDialog>
#include <QStatusBar>

// Resources of a static library must be registered by name, outside any namespace.
static void registerResources() { Q_INIT_RESOURCE(zarvo); }

namespace panel {

namespace {
// The window's design, in the units it was drawn in: its client area and the
// frame in pixels, the frame's children in twips.
constexpr QSize kDesignClientPixels(608, 347);
constexpr QRect kFrameDesignPixels(1, -5, 606, 332);
constexpr int kFrameRightMarginPixels = 2;
constexpr int kFrameBottomMarginPixels = 15;
constexpr float kEditorRightMarginTwips = 165;
constexpr float kEditorBottomMarginTwips = 660;
constexpr QRect kCompileButtonTwips(105, 195, 1365, 360);
constexpr QRect kStepCompileButtonTwips(1500, 195, 1365, 360);
constexpr QRect kEditorTwips(90, 570, 8925, 4320);
constexpr qreal kEditorPointSize = 9.75;
constexpr int kStatusBarHeightPixels = 18;
constexpr int kStatusPanelWidthsPixels[4] = {414, 67, 68, 36};
constexpr int kStatusLineMinWidthPixels = 115;
constexpr int kMarkerPanel = 2;
} // namespace

QString aboutText()
{
    return QStringLiteral("Zarvo " ZARVO_VERSION "\r\n") + QString(11, QLatin1Char(' '))
        + QStringLiteral("https://zarvo.org");
}

MainWindow::MainWindow(const QString &scriptPath)
{
    registerResources();
    setObjectName(QStringLiteral("wMain"));
    setWindowTitle(QStringLiteral("Zarvo - Control Panel"));
    setWindowIcon(QIcon(QStringLiteral(":/zarvo.png")));
    buildMenus();
    buildClientArea();
    buildStatusBar();
    buildShortcuts();
    // Tab walks editor, COMPILE, STEP COMPILE (and an open find bar), then
    // back to the editor; the frame takes no focus. Keys typed at start-up
    // go into the editor.
    setTabOrder(m_rtbEdit, m_cmdCompile);
    setTabOrder(m_cmdCompile, m_cmdStepCompile);
    setTabOrder(m_cmdStepCompile, m_findBar->field());
    m_rtbEdit->setFocus();
    // Design size of the client area, at the top-left corner of the screen.
    const int menuHeight = menuBar()->sizeHint().height();
    resize(kDesignClientPixels.width(), kDesignClientPixels.height() + menuHeight);
    move(0, 0);
    toolkit::registerLoadedWindow(this);
    // The editor takes its final size before it takes the text: a change of
    // its width afterwards lays the whole document out again.
    layout()->activate();
    Form_Resize();
    Form_Load(scriptPath);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    auto addMenu = [this](const char *name, const QString &title) {
        QMenu *menu = menuBar()->addMenu(title);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    auto addAction = [this](QMenu *menu, const char *name, const QString &caption,
                            const std::function<void()> &handler = {}) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu *file = addMenu("mFILE", QStringLiteral("&File"));
    addAction(file, "mOPEN", QStringLiteral("&Open..."), [this] { mOPEN_Click(*this); })
        ->setShortcuts(keysFor(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
    addAction(file, "mSAVEAS", QStringLiteral("&Save As..."), [this] { mSAVEAS_Click(*this); })
        ->setShortcuts(keysFor(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    file->addSeparator()->setObjectName(QStringLiteral("blank0"));
    addAction(file, "mQUIT", QStringLiteral("&Quit"), [this] { mQUIT_Click(); })
        ->setShortcuts(keysFor(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));

    QMenu *edit = addMenu("mEDIT", QStringLiteral("&Edit"));
    m_mSAVEATEVERYEDIT = addAction(edit, "mSAVEATEVERYEDIT", QStringLiteral("Save source at every edit"));
    // A checkable action toggles its own mark; the next change follows it.
    m_mSAVEATEVERYEDIT->setCheckable(true);
    m_mSAVEATEVERYEDIT->setChecked(true);
    // The user's own choice outlasts any file that held autosave off.
    connect(m_mSAVEATEVERYEDIT, &QAction::triggered, this, [this] { m_autosaveHeld = false; });

    QMenu *help = addMenu("mHELP", QStringLiteral("&Help"));
    addAction(help, "mABOUT", QStringLiteral("&About"), [this] { mABOUT_Click(); });
}

void MainWindow::buildClientArea()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);
    client->installEventFilter(this);

    m_fraMain = new QGroupBox(client);
    m_fraMain->setObjectName(QStringLiteral("fraMain"));
    m_fraMain->setGeometry(kFrameDesignPixels);
    m_fraMain->setFocusPolicy(Qt::NoFocus);

    m_cmdCompile = makeButton(m_fraMain, "cmdCompile", QStringLiteral("COMPILE"), platform::twipsToPixels(kCompileButtonTwips));
    m_cmdCompile->setToolTip(QStringLiteral("Compile the whole program"));
    m_cmdStepCompile = makeButton(m_fraMain, "cmdStepCompile", QStringLiteral("STEP COMPILE"),
                                  platform::twipsToPixels(kStepCompileButtonTwips));
    m_cmdStepCompile->setToolTip(QStringLiteral("Compile one line of code at a time"));
    // Return presses a focused button, as Space does.
    m_cmdCompile->setAutoDefault(true);
    m_cmdStepCompile->setAutoDefault(true);
    connect(m_cmdCompile, &QPushButton::clicked, this, &MainWindow::cmdCompile_Click);
    connect(m_cmdStepCompile, &QPushButton::clicked, this, &MainWindow::cmdStepCompile_Click);

    m_rtbEdit = new editing::ScriptEditor(m_fraMain);
    m_rtbEdit->setObjectName(QStringLiteral("rtbEdit"));
    m_rtbEdit->setGeometry(platform::twipsToPixels(kEditorTwips));
    QFont font = m_rtbEdit->font();
    font.setPointSizeF(kEditorPointSize);
    font.setBold(true);
    m_rtbEdit->setFont(font);
    // Attached while the editor is empty: colouring a text already there
    // would report a change of it.
    new editing::ScriptHighlighter(*m_rtbEdit, interpreter::commandKeywords());
    m_findBar = new editing::FindBar(*m_rtbEdit);
    m_rtbEdit->setFooter(m_findBar);

    m_document = new ScriptDocument(*m_rtbEdit, this);
    connect(m_document, &ScriptDocument::modifiedChanged, this, &MainWindow::showModified);
    connect(m_document, &ScriptDocument::pathChanged, this, &QWidget::setWindowFilePath);
    connect(m_rtbEdit, &QPlainTextEdit::textChanged, this, [this] { rtbEdit_Change(*this); });
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setFixedHeight(kStatusBarHeightPixels);
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(bar);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        if (i == 0) {
            label->setMinimumWidth(kStatusLineMinWidthPixels);
            bar->addWidget(label, 1);
        } else {
            // At least the design width, wider when a font needs it for the text.
            label->setMinimumWidth(kStatusPanelWidthsPixels[i]);
            bar->addPermanentWidget(label);
        }
        m_panels[i] = label;
    }
    // Panel 4 follows the keyboard's Caps Lock where the platform can tell.
    auto *capsLock = new platform::CapsLockWatcher(QStringLiteral("/sys/class/leds"), this);
    auto updateCaps = [this, capsLock] {
        m_panels[3]->setText(capsLock->state().value_or(false) ? QStringLiteral("CAPS") : QString());
    };
    connect(capsLock, &platform::CapsLockWatcher::changed, this, updateCaps);
    updateCaps();
}

QLabel *MainWindow::statusPanel(int index) const
{
    return (index >= 1 && index <= 4) ? m_panels[index - 1] : nullptr;
}

bool MainWindow::autosaveChecked() const { return m_mSAVEATEVERYEDIT->isChecked(); }

void MainWindow::holdAutosave()
{
    if (!autosaveChecked())
        return;
    m_mSAVEATEVERYEDIT->setChecked(false);
    m_autosaveHeld = true;
}

void MainWindow::releaseAutosave()
{
    if (m_autosaveHeld)
        m_mSAVEATEVERYEDIT->setChecked(true);
    m_autosaveHeld = false;
}

QSize MainWindow::clientSize() const
{
    const QWidget *client = centralWidget();
    const int barHeight = statusBar()->isHidden() ? 0 : statusBar()->height();
    return QSize(client->width(), client->height() + barHeight);
}

void MainWindow::setStatus(const QString &text)
{
    m_panels[0]->setText(platform::visibleLine(text));
    // Painted at once: a run does not return to the event loop before its
    // first line, so "Compiling ..." would otherwise never show.
    m_panels[0]->repaint();
}

std::optional<files::PlacedLine> MainWindow::editorLine(int lineNumber) const
{
    return m_rtbEdit->line(lineNumber - 1);
}

std::optional<files::PlacedLine> MainWindow::findInEditor(const QString &text, int from,
                                                             Qt::CaseSensitivity cs) const
{
    return m_rtbEdit->find(text, from, cs);
}

void MainWindow::selectInEditor(int start, int length) { m_rtbEdit->setSelection(start, length); }

void MainWindow::focusEditor() { m_rtbEdit->setFocus(); }

void MainWindow::stepPause()
{
    const IdleCursor waitingForTheUser;
    showStepWindow();
}

void MainWindow::report(const interpreter::RunReport &report)
{
    // Reports without a title were given in the status line; an unknown
    // keyword has already selected itself.
    const bool inBox = !report.title.isEmpty();
    const QString toolTip = inBox ? report.title + QLatin1Char('\n') + report.text : m_panels[0]->text();
    if (showFailurePlace(*this, *m_rtbEdit, report, toolTip, report.unknownKeyword.isEmpty()))
        m_rtbEdit->setFocus();
    if (inBox) {
        const IdleCursor waitingForTheUser;
        platform::showMessageBox(report.text, report.style, report.title, this, placeText(report.place));
    }
}

// Panel 2 and the window's modified mark follow the document.
void MainWindow::showModified(bool modified)
{
    m_panels[kMarkerPanel - 1]->setText(modified ? QStringLiteral("MODIFIED") : QString());
    // The title has no "[*]" placeholder, so only the window's state changes.
    setAttribute(Qt::WA_WindowModified, modified);
}

void MainWindow::Form_Load(const QString &scriptPath)
{
    m_document->setPath(scriptPath.isEmpty() ? platform::defaultScriptPath() : scriptPath);
    LoadSource(*this, m_document->path());
}

void MainWindow::Form_Resize()
{
    // Each assignment is tried on its own; one the toolkit would refuse (a
    // negative size) is skipped and the next still runs.
    const QSize client = clientSize();
    const float tx = platform::twipsPerPixelX();
    const float ty = platform::twipsPerPixelY();
    const int frameWidth = client.width() - kFrameRightMarginPixels;
    if (frameWidth >= 0)
        m_fraMain->resize(frameWidth, m_fraMain->height());
    const int frameHeight = client.height() - kFrameBottomMarginPixels;
    if (frameHeight >= 0)
        m_fraMain->resize(m_fraMain->width(), frameHeight);
    const float editorWidth = float(m_fraMain->width()) * tx - kEditorRightMarginTwips;
    if (editorWidth >= 0)
        m_rtbEdit->resize(platform::twipsToPixelsX(editorWidth), m_rtbEdit->height());
    const float editorHeight = float(m_fraMain->height()) * ty - kEditorBottomMarginTwips;
    if (editorHeight >= 0)
        m_rtbEdit->resize(m_rtbEdit->width(), platform::twipsToPixelsY(editorHeight));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::compile(int stepFlag)
{
    m_rtbEdit->clearMarker();
    const BusyCursor busy;
    interpreter::CompileSource(m_document->path(), stepFlag, *this);
}

void MainWindow::cmdCompile_Click() { compile(interpreter::CompileNormally); }

void MainWindow::cmdStepCompile_Click() { compile(interpreter::CompileStepByStep); }

void MainWindow::goToLine()
{
    bool ok = false;
    const int line = QInputDialog::getInt(this, QStringLiteral("Go to Line"),
                                          QStringLiteral("Line (1 - %1):").arg(m_rtbEdit->blockCount()),
                                          m_rtbEdit->textCursor().blockNumber() + 1, 1, m_rtbEdit->blockCount(), 1, &ok);
    if (ok)
        m_rtbEdit->goToLine(line);
}

void MainWindow::mABOUT_Click()
{
    platform::showMessageBox(aboutText(), platform::MsgInformation, QStringLiteral("About..."), this);
}

void MainWindow::mQUIT_Click() { close(); }

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!confirmUnsavedChanges(*this)) {
        event->ignore();
        return;
    }
    // Form_Unload: every loaded window from the newest to the oldest; this
    // window, loaded first, is already closing and simply finishes.
    const QList<QWidget *> windows = toolkit::loadedWindows();
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        if (windows[i] != this)
            toolkit::unloadWindow(windows[i]);
    }
    event->accept();
}

} // namespace panel
