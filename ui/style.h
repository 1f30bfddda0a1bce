// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// Flat buttons and text boxes with a thin border, whatever the desktop's
// style: the window looks the same everywhere. It was a style sheet once;
// as a style it keeps Qt's style sheet machinery out of the window, which
// cost the start a megabyte of memory and every tap its share of time.

#include <QProxyStyle>

namespace ui {

class FlatStyle final : public QProxyStyle {
    Q_OBJECT

public:
    FlatStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

}  // namespace ui
