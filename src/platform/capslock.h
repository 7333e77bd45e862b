// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QTimer;

namespace platform {

class XkbCapsLockIndicator;

// Whether Caps Lock is on according to the keyboard LEDs in ledsFolder (on
// Linux, one folder per LED); nothing when there is no Caps Lock LED.
std::optional<bool> capsLockState(const QString &ledsFolder = QStringLiteral("/sys/class/leds"));

// Follows the keyboard's Caps Lock. On X11 it asks the X server for its XKB
// indicator "Caps Lock", which the server reports again whenever it changes.
// Elsewhere, or where the server has no such indicator, it reads the LEDs in
// ledsFolder twice a second. Where neither can tell, the state is nothing,
// never a guess.
class CapsLockWatcher : public QObject {
    Q_OBJECT
public:
    enum class Source { None, XkbIndicator, LedFiles };

    explicit CapsLockWatcher(const QString &ledsFolder = QStringLiteral("/sys/class/leds"), QObject *parent = nullptr);
    ~CapsLockWatcher() override;

    std::optional<bool> state() const { return m_state; }
    Source source() const;

Q_SIGNALS:
    void changed();

private:
    void setState(std::optional<bool> state);

    QString m_ledsFolder;
    std::unique_ptr<XkbCapsLockIndicator> m_xkb;
    QTimer *m_poll = nullptr;
    std::optional<bool> m_state;
};

} // namespace platform
