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

#include "platform.h"

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
    if (display() != Display::x11 || x11 == nullptr)
        return nullptr;
    return x11->connection();
}

// The atoms that the game speaks to the window manager in, interned with
// one round trip to the server rather than one each.
struct Atoms {
    xcb_atom_t state, skipTaskbar, skipPager, supported, requestExtents, frameExtents;
};

Atoms internAtoms(xcb_connection_t* connection)
{
    const char* const names[] = {"_NET_WM_STATE",  "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                                 "_NET_SUPPORTED", "_NET_REQUEST_FRAME_EXTENTS", "_NET_FRAME_EXTENTS"};
    xcb_intern_atom_cookie_t cookies[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i)
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
    xcb_atom_t atoms[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookies[i], nullptr));
        atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    return {atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5]};
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

bool windowManagerSupports(xcb_connection_t* connection, const Atoms& atoms, xcb_atom_t hint)
{
    const auto supported = property(connection, rootOf(connection), atoms.supported, XCB_ATOM_ATOM, 1024);
    if (!supported || supported->format != 32)
        return false;
    const auto* hints = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    return std::find(hints, hints + supported->value_len, hint) != hints + supported->value_len;
}

// The frame that an EWMH window manager will draw around `window`, asked
// before the window is mapped. It answers by setting _NET_FRAME_EXTENTS on
// the window, usually within a millisecond; a window manager that does not
// answer costs at most the wait below, once.
QMargins requestFrameExtents(xcb_connection_t* connection, const Atoms& atoms, xcb_window_t window)
{
    if (atoms.requestExtents == XCB_ATOM_NONE || atoms.frameExtents == XCB_ATOM_NONE ||
        !windowManagerSupports(connection, atoms, atoms.requestExtents))
        return {};

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atoms.requestExtents;
    xcb_send_event(connection, 0, rootOf(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    constexpr int kPolls = 100;  // a millisecond apart
    for (int poll = 0; poll < kPolls; ++poll) {
        const auto reply = property(connection, window, atoms.frameExtents, XCB_ATOM_CARDINAL, 4);
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

void prepareToShow(QWidget& window)
{
    const QScreen* screen = window.screen();
    const auto native = static_cast<xcb_window_t>(window.winId());
    xcb_connection_t* connection = x11Connection();
    const Atoms atoms = connection ? internAtoms(connection) : Atoms{};

    // No taskbar button and no place in pagers. Qt has no call for this,
    // but keeps states it did not set itself when it maps the window.
    if (connection && atoms.state != XCB_ATOM_NONE && atoms.skipTaskbar != XCB_ATOM_NONE &&
        atoms.skipPager != XCB_ATOM_NONE) {
        const xcb_atom_t skip[] = {atoms.skipTaskbar, atoms.skipPager};
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, native, atoms.state, XCB_ATOM_ATOM, 32, 2, skip);
        xcb_flush(connection);
    }

    // Qt learns the frame only once the window is mapped; centring the
    // client area alone would leave the frame low by half its caption bar.
    if (screen == nullptr)
        return;
    const QMargins frame =
        connection ? requestFrameExtents(connection, atoms, native) : window.windowHandle()->frameMargins();
    const QRect available = screen->availableGeometry();
    const QRect outer = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size().grownBy(frame), available);
    const QPoint corner(std::max(outer.left(), available.left()), std::max(outer.top(), available.top()));
    window.setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), window.size()));
}

}  // namespace ui
