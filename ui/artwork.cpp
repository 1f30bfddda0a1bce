#include "artwork.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace ui {

QImage renderOpaque(const QString& svg, QSize size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QIcon appIcon()
{
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(renderOpaque(kIcon, {side, side}, 1.0)));
    return icon;
}

}  // namespace ui
