// SPDX-License-Identifier: MIT
#include "platform/xkbcapslock.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>
// xkb.h names a structure field "explicit", a C++ keyword.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

namespace platform {

namespace {
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> owned(Reply *reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_connection_t *qtX11Connection()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    auto *x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}
} // namespace

std::unique_ptr<XkbCapsLockIndicator> XkbCapsLockIndicator::open(ChangeHandler onChange)
{
    xcb_connection_t *connection = qtX11Connection();
    if (!connection)
        return nullptr;
    const xcb_query_extension_reply_t *xkb = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (!xkb || !xkb->present)
        return nullptr;
    const auto version = owned(xcb_xkb_use_extension_reply(
        connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr));
    if (!version || !version->supported)
        return nullptr;

    static const char kIndicatorName[] = "Caps Lock";
    const auto atom = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof kIndicatorName - 1, kIndicatorName), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return nullptr;
    const auto indicator = owned(xcb_xkb_get_named_indicator_reply(
        connection,
        xcb_xkb_get_named_indicator(connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_LED_CLASS_DFLT_XI_CLASS,
                                    XCB_XKB_ID_DFLT_XI_ID, atom->atom),
        nullptr));
    if (!indicator || !indicator->found)
        return nullptr;

    // Only the indicator-state events are added to what this client (Qt)
    // already selected; the server then reports every change of any LED.
    xcb_xkb_select_events(connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_EVENT_TYPE_INDICATOR_STATE_NOTIFY, 0,
                          XCB_XKB_EVENT_TYPE_INDICATOR_STATE_NOTIFY, 0, 0, nullptr);
    xcb_flush(connection);
    return std::unique_ptr<XkbCapsLockIndicator>(
        new XkbCapsLockIndicator(xkb->first_event, 1u << indicator->ndx, indicator->on != 0, std::move(onChange)));
}

XkbCapsLockIndicator::XkbCapsLockIndicator(int firstEvent, unsigned indicatorBit, bool on, ChangeHandler onChange)
    : m_firstEvent(firstEvent), m_indicatorBit(indicatorBit), m_on(on), m_onChange(std::move(onChange))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

XkbCapsLockIndicator::~XkbCapsLockIndicator()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool XkbCapsLockIndicator::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    // Every XKB event has the extension's event code, its kind in the next byte.
    if ((event->response_type & ~0x80) != m_firstEvent || event->pad0 != XCB_XKB_INDICATOR_STATE_NOTIFY)
        return false;
    const auto *notify = reinterpret_cast<const xcb_xkb_indicator_state_notify_event_t *>(event);
    if (notify->stateChanged & m_indicatorBit) {
        m_on = (notify->state & m_indicatorBit) != 0;
        m_onChange(m_on);
    }
    return false; // Qt handles XKB events too
}

} // namespace platform
