#include "widgets.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

Picture::Picture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Picture::setPixmap(const QPixmap& pixmap)
{
    pixmap_ = pixmap;
    update();
}

void Picture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap_);
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

Marker::Marker(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Marker::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), QColor(255, 0, 0));
}

}  // namespace ui
