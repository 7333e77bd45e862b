// SPDX-License-Identifier: MIT
#include "platform/capslock.h"

#include "platform/xkbcapslock.h"

#include <QDir>
#include <QFile>
#include <QTimer>

namespace platform {

namespace {
constexpr int kLedPollMs = 500;
} // namespace

std::optional<bool> capsLockState(const QString &ledsFolder)
{
    const QDir leds(ledsFolder);
    const QStringList names = leds.entryList({QStringLiteral("*capslock*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    if (names.isEmpty())
        return std::nullopt;
    for (const QString &name : names) {
        QFile brightness(leds.filePath(name + QStringLiteral("/brightness")));
        if (brightness.open(QIODevice::ReadOnly) && brightness.readAll().trimmed() != "0")
            return true;
    }
    return false;
}

CapsLockWatcher::CapsLockWatcher(const QString &ledsFolder, QObject *parent)
    : QObject(parent), m_ledsFolder(ledsFolder)
{
    m_xkb = XkbCapsLockIndicator::open([this](bool on) { setState(on); });
    if (m_xkb) {
        m_state = m_xkb->isOn();
        return;
    }
    m_state = capsLockState(m_ledsFolder);
    m_poll = new QTimer(this);
    connect(m_poll, &QTimer::timeout, this, [this] { setState(capsLockState(m_ledsFolder)); });
    m_poll->start(kLedPollMs);
}

CapsLockWatcher::~CapsLockWatcher() = default;

CapsLockWatcher::Source CapsLockWatcher::source() const
{
    if (m_xkb)
        return Source::XkbIndicator;
    return m_state ? Source::LedFiles : Source::None;
}

void CapsLockWatcher::setState(std::optional<bool> state)
{
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT changed();
}

} // namespace platform
