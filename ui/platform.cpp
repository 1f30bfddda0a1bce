// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QtGlobal>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include <xcb/xcb.h>

namespace ui {

namespace {

std::string variable(const char* name)
{
    return qEnvironmentVariable(name).toStdString();
}

// Connects to the X server at `display`: a server that is not there and one
// that refuses the connection (no authority, as over ssh) both fail, and
// give nullptr. libxcb writes a refusing server's reason straight to
// standard error; it is caught here, to go into the game's one line.
xcb_connection_t* xOpens(const std::string& display, std::string& reason)
{
    int pipeEnds[2];
    const int savedError = dup(STDERR_FILENO);
    const bool catching = savedError >= 0 && pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) == 0;
    if (catching)
        dup2(pipeEnds[1], STDERR_FILENO);
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        connection = nullptr;
    }
    if (catching) {
        dup2(savedError, STDERR_FILENO);
        close(pipeEnds[1]);
        char text[256];
        const ssize_t length = read(pipeEnds[0], text, sizeof text - 1);
        close(pipeEnds[0]);
        reason.assign(text, length > 0 ? static_cast<std::size_t>(length) : 0);
        reason.erase(reason.find_last_not_of(" \n") + 1);
        // The server's words, kept to one printable line.
        std::replace_if(reason.begin(), reason.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    }
    if (savedError >= 0)
        close(savedError);
    return connection;
}

// Connects to the Wayland compositor's socket, as libwayland-client does:
// WAYLAND_DISPLAY is a path, or a name in XDG_RUNTIME_DIR.
bool waylandOpens(const std::string& display)
{
    const std::string runtimeDir = variable("XDG_RUNTIME_DIR");
    if (display.front() != '/' && runtimeDir.empty())
        return false;
    const std::string path = display.front() == '/' ? display : runtimeDir + '/' + display;
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool opened = fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        close(fd);
    return opened;
}

// Whether Qt has a platform plugin for `key`, found as Qt's own loader
// finds it: by the keys in the plugins' metadata, which is read without
// loading them. File names are no guide: Qt 6.4 to 6.10 call the Wayland
// plugin libqwayland-generic.so, Qt 6.11 libqwayland.so.
bool platformPluginFor(const QString& key)
{
    for (const QString& path : QCoreApplication::libraryPaths()) {
        const QDir platforms(path + QStringLiteral("/platforms"));
        for (const QString& file : platforms.entryList(QDir::Files)) {
            const QJsonObject plugin = QPluginLoader(platforms.filePath(file)).metaData();
            const QJsonObject metaData = plugin.value(QLatin1String("MetaData")).toObject();
            if (metaData.value(QLatin1String("Keys")).toArray().contains(key))
                return true;
        }
    }
    return false;
}

Display displayOf(const std::string& platform)
{
    const std::string plugin = platform.substr(0, platform.find_first_of(":;"));
    return plugin == "xcb" ? Display::x11 : plugin.starts_with("wayland") ? Display::wayland : Display::other;
}

std::string named(const char* kind, const std::string& display, const std::string& reason = {})
{
    return std::string(kind) + " display \"" + display + '"' + (reason.empty() ? "" : " (" + reason + ")");
}

}  // namespace

PlatformChoice::PlatformChoice()
{
    const std::string x = variable("DISPLAY");
    const std::string wayland = variable("WAYLAND_DISPLAY");
    const std::string chosen = variable("QT_QPA_PLATFORM");
    std::string refused;

    if (!chosen.empty()) {
        const Display asked = displayOf(chosen);
        if (asked == Display::x11 && (x.empty() || (held_ = xOpens(x, refused)) == nullptr))
            problem_ =
                x.empty() ? "cannot open an X display: DISPLAY is not set" : "cannot open " + named("X", x, refused);
        else if (asked == Display::wayland && (wayland.empty() || !waylandOpens(wayland)))
            problem_ = wayland.empty() ? "cannot open a Wayland display: WAYLAND_DISPLAY is not set"
                                       : "cannot open " + named("Wayland", wayland);
        return;
    }

    if (!x.empty() && (held_ = xOpens(x, refused)) != nullptr) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else if (!wayland.empty() && waylandOpens(wayland)) {
        if (platformPluginFor(QStringLiteral("wayland")))
            qputenv("QT_QPA_PLATFORM", "wayland");
        else
            problem_ = "cannot open " + named("Wayland", wayland) + ": Qt's Wayland platform is not installed";
    } else if (x.empty() && wayland.empty()) {
        problem_ = "cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set";
    } else {
        problem_ = "cannot open " + (x.empty() ? std::string() : named("X", x, refused)) +
                   (!x.empty() && !wayland.empty() ? " nor " : "") +
                   (wayland.empty() ? std::string() : named("Wayland", wayland));
    }
}

Display display()
{
    static const Display chosen = displayOf(variable("QT_QPA_PLATFORM"));
    return chosen;
}

void PlatformChoice::release()
{
    if (held_ != nullptr)
        xcb_disconnect(held_);
    held_ = nullptr;
}

}  // namespace ui
