// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>
#include <memory>

struct xcb_connection_t;

namespace platform {

// The X server's XKB indicator "Caps Lock", read on the xcb connection Qt
// uses and followed through the indicator-change events the server sends.
class XkbCapsLockIndicator : public QAbstractNativeEventFilter {
public:
    using ChangeHandler = std::function<void(bool on)>;

    // Nothing when the program does not run on X11, the server has no XKB,
    // or its keyboard has no "Caps Lock" indicator.
    static std::unique_ptr<XkbCapsLockIndicator> open(ChangeHandler onChange);
    ~XkbCapsLockIndicator() override;

    bool isOn() const { return m_on; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    XkbCapsLockIndicator(int firstEvent, unsigned indicatorBit, bool on, ChangeHandler onChange);

    int m_firstEvent = 0;
    unsigned m_indicatorBit = 0;
    bool m_on = false;
    ChangeHandler m_onChange;
};

} // namespace platform
