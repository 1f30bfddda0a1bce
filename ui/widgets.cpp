// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "widgets.h"

#include <QMouseEvent>
#include <QPainter>

#include "artwork.h"
#include "layout/window.h"

namespace ui {

Picture::Picture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Picture::paintEvent(QPaintEvent*)
{
    // Made once, and again only if the window moves to a screen with
    // another pixel ratio.
    const qreal ratio = devicePixelRatioF();
    if (image_.isNull() || image_.devicePixelRatio() != ratio)
        image_ = clockFace(ratio);
    QPainter(this).drawImage(0, 0, image_);
}

// A double click arrives as a second press, so quick taps are all counted.
void Picture::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
}

void Picture::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        tap();
}

void Picture::tap()
{
    if (isEnabled())
        emit clicked();
}

Marker::Marker(QColor colour, QWidget* parent) : QWidget(parent), colour_(colour)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Marker::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), colour_);
}

Frame::Frame(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption)
{
}

void Frame::paintEvent(QPaintEvent*)
{
    constexpr int kCaptionLeft = 8;  // where the caption starts in the top line
    constexpr int kCaptionGap = 2;   // the line stops this far either side of it
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    const QColor back = palette().color(QPalette::Window);
    const QColor line = QColor::fromRgb(static_cast<QRgb>(layout::kOutline));

    // Filled rather than stroked, so that the line is one pixel wide at
    // every scale, as the borders of the buttons and text boxes are.
    QPainter painter(this);
    painter.fillRect(rect(), back);
    painter.fillRect(0, lineY, width(), 1, line);
    painter.fillRect(0, height() - 1, width(), 1, line);
    painter.fillRect(0, lineY, 1, height() - lineY, line);
    painter.fillRect(width() - 1, lineY, 1, height() - lineY, line);

    const QRect caption(kCaptionLeft, 0, metrics.horizontalAdvance(caption_) + 2 * kCaptionGap, metrics.height());
    painter.fillRect(caption, back);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, caption_);
}

}  // namespace ui
