#include "clock_face.h"

#include <QPainter>

namespace ui {

QPixmap clockFace()
{
    QPixmap pixmap(244, 197);
    pixmap.fill(QColor(0xFC, 0xFC, 0xFC));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
    painter.setBrush(QColor(0xF6, 0xEF, 0xD8));
    painter.drawEllipse(QPointF(120, 100), 51, 51);
    return pixmap;
}

}  // namespace ui
