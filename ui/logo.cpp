#include "ui/logo.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

QSize logoSize(int windowWidth)
{
    return QSize(windowWidth / 8, static_cast<int>(windowWidth * 0.686 * 0.125));
}

QImage renderLogo(const QString &svgPath, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (!QFileInfo::exists(svgPath))
        return image;
    QSvgRenderer renderer(svgPath);
    if (renderer.isValid()) {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    return image;
}
