// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "window_manager.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>

namespace ui {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

// The connection of the xcb platform, or nullptr on any other. Other
// platform plugins may offer the X11 interface too (offscreen does), but
// only the xcb one maps windows through it.
xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr)
        return nullptr;
    return x11->connection();
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

ReplyPtr<xcb_get_property_reply_t> property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                                            xcb_atom_t type, std::uint32_t length)
{
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, window, name, type, 0, length);
    return ReplyPtr<xcb_get_property_reply_t>(xcb_get_property_reply(connection, cookie, nullptr));
}

xcb_window_t rootOf(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

bool windowManagerSupports(xcb_connection_t* connection, xcb_atom_t hint)
{
    const auto supported =
        property(connection, rootOf(connection), atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 1024);
    if (!supported || supported->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    return std::find(atoms, atoms + supported->value_len, hint) != atoms + supported->value_len;
}

// The frame that an EWMH window manager will draw around `window`, asked
// before the window is mapped. It answers by setting _NET_FRAME_EXTENTS on
// the window, usually within a millisecond; a window manager that does not
// answer costs at most the wait below, once.
QMargins requestFrameExtents(xcb_connection_t* connection, xcb_window_t window)
{
    const xcb_atom_t request = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
    if (request == XCB_ATOM_NONE || extents == XCB_ATOM_NONE || !windowManagerSupports(connection, request))
        return {};

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = request;
    xcb_send_event(connection, 0, rootOf(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    constexpr int kPolls = 100;  // a millisecond apart
    for (int poll = 0; poll < kPolls; ++poll) {
        const auto reply = property(connection, window, extents, XCB_ATOM_CARDINAL, 4);
        if (reply && reply->format == 32 && reply->value_len == 4) {
            // left, right, top, bottom
            const auto* side = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
            return QMargins(static_cast<int>(side[0]), static_cast<int>(side[2]), static_cast<int>(side[1]),
                            static_cast<int>(side[3]));
        }
        QThread::msleep(1);
    }
    return {};
}

}  // namespace

void keepOffTaskbar(QWidget& window)
{
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr)
        return;
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip[] = {atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                               atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (state == XCB_ATOM_NONE || skip[0] == XCB_ATOM_NONE || skip[1] == XCB_ATOM_NONE)
        return;
    // Qt keeps states it did not set itself when it maps the window.
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()), state,
                        XCB_ATOM_ATOM, 32, 2, skip);
    xcb_flush(connection);
}

void placeOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (screen == nullptr)
        return;
    // Qt learns the frame only once the window is mapped; centring the
    // client area alone would leave the frame low by half its caption bar.
    const auto native = static_cast<xcb_window_t>(window.winId());
    xcb_connection_t* connection = x11Connection();
    const QMargins frame = connection ? requestFrameExtents(connection, native) : window.windowHandle()->frameMargins();

    const QRect available = screen->availableGeometry();
    const QRect outer = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size().grownBy(frame), available);
    const QPoint corner(std::max(outer.left(), available.left()), std::max(outer.top(), available.top()));
    window.setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), window.size()));
}

}  // namespace ui
