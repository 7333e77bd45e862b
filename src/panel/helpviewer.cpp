// SPDX-License-Identifier: MIT
#include "panel/helpviewer.h"

#include "editor/findbar.h"
#include "interpreter/commandtable.h"
#include "platform/apppath.h"

#include <QAction>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace panel {

namespace {
constexpr QSize kDefaultSizePixels(760, 620);

// The anchor a heading gets, as the documents' links write it: letters and
// digits in lower case, each space a "-", other characters dropped
// ("How a run reports a failure" gives "how-a-run-reports-a-failure").
QString headingAnchor(const QString &heading)
{
    QString anchor;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            anchor += c;
        else if (c == QLatin1Char(' '))
            anchor += QLatin1Char('-');
    }
    return anchor;
}

// Qt's Markdown reader gives headings no anchors: each gets the one the
// documents' links use.
void nameHeadings(QTextDocument &document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString anchor = headingAnchor(block.text());
        if (block.blockFormat().headingLevel() == 0 || anchor.isEmpty())
            continue;
        QTextCursor heading(block);
        heading.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat named;
        named.setAnchor(true);
        named.setAnchorNames({anchor});
        heading.mergeCharFormat(named);
    }
}

// A text browser whose documents' headings can be linked to.
class DocumentBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    void doSetSource(const QUrl &url, QTextDocument::ResourceType type) override
    {
        QTextBrowser::doSetSource(url, type);
        nameHeadings(*document());
        if (url.hasFragment())
            scrollToAnchor(url.fragment());
    }
};

QString missingDocsText()
{
    return QStringLiteral("# The documentation was not found\n\nZarvo looks for it in `share/doc/zarvo` beside the "
                          "folder of its executable (`%1`) and in its source tree.")
        .arg(platform::appPath());
}
} // namespace

HelpViewer::HelpViewer(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("wHelp"));
    setWindowTitle(QStringLiteral("Zarvo Help"));
    m_browser = new DocumentBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenExternalLinks(true);
    m_findBar = new editing::FindBar(*m_browser, this);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_browser);
    column->addWidget(m_findBar);
    addFindKeys();
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString heading = m_browser->document()->begin().text();
        setWindowTitle(heading.isEmpty() ? QStringLiteral("Zarvo Help") : heading + QStringLiteral(" - Zarvo Help"));
    });
    resize(kDefaultSizePixels);
}

void HelpViewer::addFindKeys()
{
    const auto addKey = [this](const char *name, const QKeySequence &key, const std::function<void()> &handler) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    addKey("actHelpFind", QKeySequence::Find, [this] { m_findBar->open(); });
    addKey("actHelpFindNext", QKeySequence(Qt::Key_F3), [this] { m_findBar->findAgain(false); });
    addKey("actHelpFindPrevious", QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { m_findBar->findAgain(true); });
}

void HelpViewer::showDocument(const QString &fileName, const QString &anchor)
{
    const QString folder = platform::docsFolder();
    if (folder.isEmpty()) {
        m_browser->setMarkdown(missingDocsText());
    } else {
        QUrl url = QUrl::fromLocalFile(folder + QLatin1Char('/') + fileName);
        if (!anchor.isEmpty())
            url.setFragment(anchor);
        m_browser->setSource(url, QTextDocument::MarkdownResource);
    }
    show();
    raise();
    activateWindow();
    m_browser->setFocus();
}

QString commandOfLine(const QString &line)
{
    const QString word = line.trimmed().section(QLatin1Char(' '), 0, 0).section(QLatin1Char('\t'), 0, 0);
    if (interpreter::findCommand(word))
        return word;
    const QString meant = interpreter::suggestKeyword(word);
    return meant.compare(word, Qt::CaseInsensitive) == 0 ? meant : QString();
}

} // namespace panel
