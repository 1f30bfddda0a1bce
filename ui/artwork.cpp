// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "artwork.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace ui {

namespace {

QImage render(QSvgRenderer& renderer, QSize size, qreal devicePixelRatio)
{
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace

QImage renderOpaque(const QString& svg, QSize size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(svg);
    return renderer.isValid() ? render(renderer, size, devicePixelRatio) : QImage();
}

QIcon appIcon()
{
    // Parsed and drawn once; the application and the window share it.
    static const QIcon icon = [] {
        QSvgRenderer renderer(kIcon);
        QIcon result;
        for (const int side : {16, 32, 64})
            result.addPixmap(QPixmap::fromImage(render(renderer, {side, side}, 1.0)));
        return result;
    }();
    return icon;
}

}  // namespace ui
