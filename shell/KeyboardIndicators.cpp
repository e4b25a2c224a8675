// Lock-key lights from the X server (core protocol GetKeyboardControl: LED 1 Caps Lock, LED 2
// Num Lock, LED 3 Scroll Lock, the usual assignment of X keyboards).
#include "shell/KeyboardIndicators.h"

#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>

KeyboardIndicators::State KeyboardIndicators::Read()
{
    State state;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return state;
    xcb_connection_t* connection = x11->connection();
    xcb_get_keyboard_control_reply_t* reply =
        xcb_get_keyboard_control_reply(connection, xcb_get_keyboard_control(connection), nullptr);
    if (!reply)
        return state;
    state.capsLock = (reply->led_mask & 0x1) != 0;
    state.numLock = (reply->led_mask & 0x2) != 0;
    state.scrollLock = (reply->led_mask & 0x4) != 0;
    std::free(reply);
    return state;
}
