// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "artwork.h"

#include <QPixmap>
#include <QResource>

#include <cstdint>

#include "layout/window.h"
#include "svg.h"

namespace ui {

namespace {

// The pixels drawn at build time (in the resource `name`, uncompressed, as
// QImage::Format_RGB32 lays them out), shared with the program's own image
// rather than copied when they are aligned as pixels must be.
QImage prerendered(const QString& name, QSize pixels, qreal ratio)
{
    const QResource resource(QStringLiteral(":/pixels/") + name);
    const auto bytes = static_cast<std::size_t>(pixels.width()) * static_cast<std::size_t>(pixels.height()) * 4;
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        static_cast<std::size_t>(resource.size()) != bytes)
        return {};
    QImage image(resource.data(), pixels.width(), pixels.height(), QImage::Format_RGB32);
    if (reinterpret_cast<std::uintptr_t>(resource.data()) % alignof(std::uint32_t) != 0)
        image = image.copy();
    image.setDevicePixelRatio(ratio);
    return image;
}

}  // namespace

QImage clockFace(qreal ratio)
{
    const layout::Size picture = layout::pictureSize();
    const QSize size(picture.width, picture.height);
    if (ratio == 1.0 || ratio == 2.0) {
        QImage image = prerendered(QStringLiteral("clock-face@%1x").arg(ratio), size * ratio, ratio);
        if (!image.isNull())
            return image;
    }
    return renderOpaque(kClockFace, size, ratio);
}

QIcon appIcon()
{
    // Made once; the application and the window share it.
    static const QIcon icon = [] {
        QIcon result;
        for (const int side : {16, 32, 64}) {
            QImage image = prerendered(QStringLiteral("icon-%1").arg(side), {side, side}, 1.0);
            result.addPixmap(QPixmap::fromImage(image.isNull() ? renderOpaque(kIcon, {side, side}, 1.0) : image));
        }
        return result;
    }();
    return icon;
}

}  // namespace ui
