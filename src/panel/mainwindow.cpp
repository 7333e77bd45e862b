// SPDX-License-Identifier: MIT
#include "panel/mainwindow.h"

#include "editor/findbar.h"
#include "editor/scripteditor.h"
#include "editor/scripthighlighter.h"
#include "files/secondname.h"
#include "interpreter/commandtable.h"
#include "interpreter/compilesource.h"
#include "interpreter/runhost.h"
#include "panel/buttons.h"
#include "panel/filebar.h"
#include "panel/helpviewer.h"
#include "panel/livecontroller.h"
#include "panel/panelaccessibility.h"
#include "panel/panelmenus.h"
#include "panel/panelrunhost.h"
#include "panel/runcursor.h"
#include "panel/scriptdocument.h"
#include "panel/sourcefiles.h"
#include "panel/statusline.h"
#include "platform/capslock.h"
#include "platform/defaultscript.h"
#include "platform/filenames.h"
#include "platform/messagebox.h"
#include "platform/units.h"
#include "platform/visibletext.h"
#include "toolkit/loadedwindows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QVBoxLayout>

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

QString panelTitle() { return QStringLiteral("Zarvo - Control Panel"); }

QString aboutText()
{
    return QStringLiteral("Zarvo " ZARVO_VERSION "\r\n") + QString(11, QLatin1Char(' '))
        + QStringLiteral("https://zarvo.org");
}

MainWindow::MainWindow(const QString &scriptPath)
{
    registerResources();
    setObjectName(QStringLiteral("wMain"));
    setWindowTitle(panelTitle());
    setWindowIcon(QIcon(QStringLiteral(":/zarvo.png")));
    m_runHost = std::make_unique<PanelRunHost>(*this);
    buildClientArea();
    buildStatusBar();
    nameControlPanel(*this);
    m_menus = new PanelMenus(*this);
    // The user's own choice outlasts any file that held autosave off.
    connect(m_menus->autosaveAction(), &QAction::triggered, this, [this] { m_autosaveHeld = false; });
    // Tab walks editor, COMPILE, STEP COMPILE (and an open find bar), then
    // back to the editor; the frame takes no focus. Keys typed at start-up
    // go into the editor.
    setTabOrder(m_editor, m_compileButton);
    setTabOrder(m_compileButton, m_stepCompileButton);
    setTabOrder(m_stepCompileButton, m_findBar->field());
    m_editor->setFocus();
    // Design size of the client area, at the top-left corner of the screen.
    const int menuHeight = menuBar()->sizeHint().height();
    resize(kDesignClientPixels.width(), kDesignClientPixels.height() + menuHeight);
    move(0, 0);
    toolkit::registerLoadedWindow(this);
    // The editor takes its final size before it takes the text: a change of
    // its width afterwards lays the whole document out again.
    layout()->activate();
    layoutClientArea();
    loadStartScript(scriptPath);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildClientArea()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);
    client->installEventFilter(this);

    m_frame = new QGroupBox(client);
    m_frame->setObjectName(QStringLiteral("fraMain"));
    m_frame->setGeometry(kFrameDesignPixels);
    m_frame->setFocusPolicy(Qt::NoFocus);

    m_compileButton =
        makeButton(m_frame, "cmdCompile", QStringLiteral("COMPILE"), platform::twipsToPixels(kCompileButtonTwips));
    m_compileButton->setToolTip(QStringLiteral("Compile the whole program"));
    m_stepCompileButton = makeButton(m_frame, "cmdStepCompile", QStringLiteral("STEP COMPILE"),
                                     platform::twipsToPixels(kStepCompileButtonTwips));
    m_stepCompileButton->setToolTip(QStringLiteral("Compile one line of code at a time"));
    // Return presses a focused button, as Space does.
    m_compileButton->setAutoDefault(true);
    m_stepCompileButton->setAutoDefault(true);
    connect(m_compileButton, &QPushButton::clicked, this, [this] { compile(interpreter::CompileNormally); });
    connect(m_stepCompileButton, &QPushButton::clicked, this, [this] { compile(interpreter::CompileStepByStep); });

    // The find bar sits below the editor, its scroll bar included; the editor
    // gives it the room while it is open.
    m_editorArea = new QWidget(m_frame);
    m_editorArea->setGeometry(platform::twipsToPixels(kEditorTwips));
    auto *column = new QVBoxLayout(m_editorArea);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // Made before the document, and so destroyed before it: the editor
    // shows the document to its end.
    m_editor = new editing::ScriptEditor(m_editorArea);
    m_editor->setObjectName(QStringLiteral("rtbEdit"));
    column->addWidget(m_editor);
    m_document = new ScriptDocument(this);
    m_editor->showDocument(m_document->textDocument());
    QFont font = m_editor->font();
    font.setPointSizeF(kEditorPointSize);
    font.setBold(true);
    m_editor->setFont(font);
    // Attached while the document is empty: colouring a text already there
    // would report a change of it.
    new editing::ScriptHighlighter(*m_editor, interpreter::commandKeywords());
    m_findBar = new editing::FindBar(*m_editor, m_editorArea);
    column->addWidget(m_findBar);
    // The bar about the file sits above the editor, which gives it the room
    // while it shows.
    m_fileBar = new FileBar(m_editorArea);
    column->insertWidget(0, m_fileBar);

    m_sourceFiles = new SourceFiles(*this);
    connectDocument();
}

void MainWindow::connectDocument()
{
    connect(m_document, &ScriptDocument::modifiedChanged, this, &MainWindow::showModified);
    connect(m_document, &ScriptDocument::pathChanged, this, &MainWindow::showPath);
    connect(m_document, &ScriptDocument::aboutToReplaceText, m_editor, &editing::ScriptEditor::beginReplacingText);
    connect(m_document, &ScriptDocument::textReplaced, m_editor, &editing::ScriptEditor::endReplacingText);
    connect(m_editor, &QPlainTextEdit::textChanged, m_sourceFiles, &SourceFiles::textChanged);
    // A session that ends, or a signal, cannot wait for a question.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        m_sourceFiles->finishSaves();
        m_sourceFiles->keepUnsavedForRecovery();
    });
    m_live = new LiveController(*this);
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setFixedHeight(kStatusBarHeightPixels);
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto *label = i == 0 ? (m_statusLine = new StatusLine(bar)) : new QLabel(bar);
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
        m_statusPanels[i] = label;
    }
    // Panel 4 follows the keyboard's Caps Lock where the platform can tell.
    auto *capsLock = new platform::CapsLockWatcher(QStringLiteral("/sys/class/leds"), this);
    auto updateCaps = [this, capsLock] {
        m_statusPanels[3]->setText(capsLock->state().value_or(false) ? QStringLiteral("CAPS") : QString());
    };
    connect(capsLock, &platform::CapsLockWatcher::changed, this, updateCaps);
    updateCaps();
}

QLabel *MainWindow::statusPanel(int index) const
{
    return (index >= 1 && index <= 4) ? m_statusPanels[index - 1] : nullptr;
}

bool MainWindow::autosaveChecked() const { return m_menus->autosaveAction()->isChecked(); }

void MainWindow::holdAutosave()
{
    if (!autosaveChecked())
        return;
    m_menus->autosaveAction()->setChecked(false);
    m_autosaveHeld = true;
}

void MainWindow::releaseAutosave()
{
    if (m_autosaveHeld)
        m_menus->autosaveAction()->setChecked(true);
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
    m_statusLine->setMessage(platform::visibleLine(text));
    // Painted at once: a run does not return to the event loop before its
    // first line, so "Compiling ..." would otherwise never show.
    m_statusPanels[0]->repaint();
}

void MainWindow::setStatusDetail(const QString &detail) { m_statusLine->setDetail(detail); }

// Panel 2 and the title's modified mark follow the document.
void MainWindow::showModified(bool modified)
{
    m_statusPanels[kMarkerPanel - 1]->setText(modified ? QStringLiteral("MODIFIED") : QString());
    setWindowModified(modified);
}

// The title names the file, and "[*]" shows the modified mark where the
// platform draws one; the window's file path gives the platform the whole
// path (a tool tip or a menu on the title, where it has one).
void MainWindow::showPath(const QString &path)
{
    setWindowFilePath(path);
    const QString name = platform::visibleFileName(QFileInfo(path).fileName());
    setWindowTitle(name.isEmpty() ? panelTitle() : name + QStringLiteral("[*] - ") + panelTitle());
}

void MainWindow::loadStartScript(const QString &scriptPath)
{
    // A script named on the command line may be one to write: a missing file
    // in a folder that is there. A missing default script is reported.
    if (!scriptPath.isEmpty() && !platform::entryExists(scriptPath)
        && platform::isFolder(QFileInfo(scriptPath).path())) {
        m_sourceFiles->startNewFile(scriptPath);
        return;
    }
    m_document->setPath(scriptPath.isEmpty() ? platform::defaultScriptPath() : scriptPath);
    m_sourceFiles->load(m_document->path());
}

void MainWindow::layoutClientArea()
{
    // Each assignment is tried on its own; one the toolkit would refuse (a
    // negative size) is skipped and the next still runs.
    const QSize client = clientSize();
    const float tx = platform::twipsPerPixelX();
    const float ty = platform::twipsPerPixelY();
    const int frameWidth = client.width() - kFrameRightMarginPixels;
    if (frameWidth >= 0)
        m_frame->resize(frameWidth, m_frame->height());
    const int frameHeight = client.height() - kFrameBottomMarginPixels;
    if (frameHeight >= 0)
        m_frame->resize(m_frame->width(), frameHeight);
    const float editorWidth = float(m_frame->width()) * tx - kEditorRightMarginTwips;
    if (editorWidth >= 0)
        m_editorArea->resize(platform::twipsToPixelsX(editorWidth), m_editorArea->height());
    const float editorHeight = float(m_frame->height()) * ty - kEditorBottomMarginTwips;
    if (editorHeight >= 0)
        m_editorArea->resize(m_editorArea->width(), platform::twipsToPixelsY(editorHeight));
    // At once, also while the window is hidden: the editor takes its size
    // before it takes the text.
    m_editorArea->layout()->setGeometry(m_editorArea->rect());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        layoutClientArea();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::compile(int stepFlag)
{
    // The run reads the file, which must hold every edit made so far.
    m_sourceFiles->finishSaves();
    m_editor->clearMarker();
    {
        const BusyCursor busy;
        interpreter::compileSource(m_document->path(), stepFlag, *m_runHost);
    }
    // A selection at the end of a long line scrolled the text sideways; the
    // keywords at the start of the lines matter more.
    m_editor->horizontalScrollBar()->setValue(0);
}

void MainWindow::goToLine()
{
    bool ok = false;
    const int line = QInputDialog::getInt(this, QStringLiteral("Go to Line"),
                                          QStringLiteral("Line (1 - %1):").arg(m_editor->blockCount()),
                                          m_editor->textCursor().blockNumber() + 1, 1, m_editor->blockCount(), 1, &ok);
    if (!ok)
        return;
    m_editor->goToLine(line);
    m_editor->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showAbout()
{
    platform::showMessageBox(aboutText(), platform::MsgInformation, QStringLiteral("About..."), this);
}

void MainWindow::showHelp(const QString &fileName, const QString &anchor)
{
    if (!m_help)
        m_help = new HelpViewer(this);
    m_help->showDocument(fileName, anchor);
}

void MainWindow::showReference()
{
    const QString command = commandOfLine(m_editor->textCursor().block().text());
    showHelp(QStringLiteral("script-reference.md"), command.toLower());
}

void MainWindow::closeForSignal()
{
    m_closingForSignal = true;
    close();
    // The saves are written by now; nothing of theirs may stay behind.
    files::removeOwnTemporaryFiles();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_sourceFiles->finishSaves();
    if (m_closingForSignal) {
        m_sourceFiles->keepUnsavedForRecovery();
    } else if (!m_sourceFiles->confirmUnsavedChanges()) {
        event->ignore();
        return;
    } else {
        m_document->dropRecoveryCopy();
    }
    // Every loaded window from the newest to the oldest; this window, loaded
    // first, is already closing and simply finishes.
    const QList<QWidget *> windows = toolkit::loadedWindows();
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        if (windows[i] != this)
            toolkit::unloadWindow(windows[i]);
    }
    event->accept();
}

} // namespace panel
