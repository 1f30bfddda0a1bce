#include "widgets.h"

#include <QMouseEvent>
#include <QPainter>

#include "artwork.h"

namespace ui {

Picture::Picture(const QString& svg, QWidget* parent) : QWidget(parent), svg_(svg)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Picture::paintEvent(QPaintEvent*)
{
    // Rendered once, and again only if the window moves to a screen with
    // another pixel ratio.
    const qreal ratio = devicePixelRatioF();
    if (pixmap_.isNull() || pixmap_.devicePixelRatio() != ratio)
        pixmap_ = QPixmap::fromImage(renderOpaque(svg_, size(), ratio));
    QPainter(this).drawPixmap(0, 0, pixmap_);
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

}  // namespace ui
