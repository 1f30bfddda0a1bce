// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "style.h"

#include <QLineEdit>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

#include "layout/window.h"

namespace ui {

namespace {

const QColor kLine = QColor::fromRgb(static_cast<QRgb>(layout::kOutline));
const QColor kLineHovered(0x50, 0x50, 0x50);
const QColor kLineFocused(0x2a, 0x62, 0xb8);
const QColor kFacePressed(0xe4, 0xe4, 0xe4);

QColor lineFor(const QStyleOption& option, bool hovers)
{
    if (option.state & QStyle::State_HasFocus)
        return kLineFocused;
    if (hovers && (option.state & QStyle::State_MouseOver))
        return kLineHovered;
    return kLine;
}

}  // namespace

FlatStyle::FlatStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

void FlatStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const
{
    switch (element) {
    case PE_PanelButtonCommand: {
        // A face of the button's own colour, greyed while pressed, in a
        // border with corners rounded by 2 px.
        const bool pressed = option->state & (State_Sunken | State_On);
        const QRectF border = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(lineFor(*option, true));
        painter->setBrush(pressed ? kFacePressed : option->palette.color(QPalette::Button));
        painter->drawRoundedRect(border, 2, 2);
        painter->restore();
        return;
    }
    case PE_PanelLineEdit: painter->fillRect(option->rect, option->palette.color(QPalette::Base)); [[fallthrough]];
    case PE_FrameLineEdit:
        painter->save();
        painter->setPen(lineFor(*option, false));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    case PE_FrameFocusRect:
    case PE_FrameDefaultButton: return;  // the border's colour shows the focus
    default: QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void FlatStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const
{
    if (element == CE_PushButtonBevel) {
        drawPrimitive(PE_PanelButtonCommand, option, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

int FlatStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    // Text boxes keep their text 1 px inside a 1 px border.
    if (metric == PM_DefaultFrameWidth && qobject_cast<const QLineEdit*>(widget))
        return 1;
    if (metric == PM_ButtonShiftHorizontal || metric == PM_ButtonShiftVertical)
        return 0;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace ui
