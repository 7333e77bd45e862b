// SPDX-License-Identifier: MIT
#include "panel/filebar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace panel {

namespace {
constexpr int kMarginPixels = 2;
} // namespace

FileBar::FileBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fileBar"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMarginPixels, kMarginPixels, kMarginPixels, kMarginPixels);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblFileBar"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    layout->addWidget(m_text, 1);
    m_buttons[0] = addButton("cmdReload", QStringLiteral("Reload"));
    m_buttons[1] = addButton("cmdOverwrite", QStringLiteral("Overwrite"));
    m_buttons[2] = addButton("cmdSaveAs", QStringLiteral("Save As..."));
    m_buttons[3] = addButton("cmdEditAnyway", QStringLiteral("Edit anyway"));
    connect(m_buttons[0], &QPushButton::clicked, this, &FileBar::reloadClicked);
    connect(m_buttons[1], &QPushButton::clicked, this, &FileBar::overwriteClicked);
    connect(m_buttons[2], &QPushButton::clicked, this, &FileBar::saveAsClicked);
    connect(m_buttons[3], &QPushButton::clicked, this, &FileBar::editAnywayClicked);
    hide();
}

QPushButton *FileBar::addButton(const char *name, const QString &text)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    layout()->addWidget(button);
    return button;
}

void FileBar::showMessage(const QString &text, Buttons buttons)
{
    m_text->setText(text);
    for (int i = 0; i < 4; ++i)
        m_buttons[i]->setVisible(buttons.testFlag(Button(1 << i)));
    setVisible(!text.isEmpty());
}

} // namespace panel
