#include "widgets/picture_drawing.h"

#include <QSvgRenderer>

namespace widgets {

QString PicturePath(Picture picture)
{
    return QStringLiteral(":/hopvane/pictures/%1.svg").arg(PictureName(picture));
}

void DrawPicture(QPainter& painter, Picture picture, QSizeF size, qreal)
{
    QSvgRenderer(PicturePath(picture)).render(&painter, QRectF(QPointF(0, 0), size));
}

} // namespace widgets
