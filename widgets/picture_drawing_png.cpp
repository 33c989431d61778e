#include "widgets/picture_drawing.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace widgets {

namespace {

// The sides the build rendered every drawing at, smallest first.
constexpr int kRenderedSides[] = {HOPVANE_PICTURE_SIDES};

QString RenderedPath(Picture picture, int side)
{
    return QStringLiteral(":/hopvane/pictures/%1-%2.png").arg(PictureName(picture)).arg(side);
}

} // namespace

QString PicturePath(Picture picture)
{
    return RenderedPath(picture, *std::prev(std::end(kRenderedSides)));
}

void DrawPicture(QPainter& painter, Picture picture, QSizeF size, qreal devicePixelRatio)
{
    // Small sides are rendered one by one, so a button's picture is drawn as
    // sharply as the drawing itself; larger ones are averaged down from the
    // next larger rendering.
    const QSize pixels(static_cast<int>(std::lround(size.width() * devicePixelRatio)),
                       static_cast<int>(std::lround(size.height() * devicePixelRatio)));
    const int wanted = std::max(pixels.width(), pixels.height());
    const auto* side = std::find_if(std::begin(kRenderedSides), std::end(kRenderedSides),
                                    [wanted](int rendered) { return rendered >= wanted; });
    if (side == std::end(kRenderedSides)) {
        side = std::prev(side);
    }
    QImage image(RenderedPath(picture, *side));
    if (image.size() != pixels) {
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    painter.drawImage(QRectF(QPointF(0, 0), size), image);
}

} // namespace widgets
