// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "svg.h"

#include <QImageReader>

namespace ui {

QImage renderOpaque(const QString& svg, QSize size, qreal ratio)
{
    QImageReader reader(svg, "svg");
    reader.setScaledSize(size * ratio);
    reader.setBackgroundColor(Qt::white);
    QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

}  // namespace ui
