#include "widgets/pictures.h"

#include "widgets/colours.h"
#include "widgets/picture_drawing.h"

#include <QIconEngine>
#include <QPainter>
#include <cmath>
#include <stdexcept>

namespace widgets {

namespace {

// Draws the picture afresh for every size asked, so that no size is a scaled
// copy of another.
class PictureIconEngine : public QIconEngine {
public:
    explicit PictureIconEngine(Picture picture) : picture_(picture) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        // Drawn as one pixmap, so that a dimmed picture is evenly dimmed
        // where its strokes overlap.
        const QPixmap picture =
            PicturePixmap(picture_, rect.size(), painter->device()->devicePixelRatioF());
        painter->save();
        if (mode == QIcon::Disabled) {
            painter->setOpacity(painter->opacity() * kDisabledOpacity);
        }
        painter->drawPixmap(rect, picture);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }

    QIconEngine* clone() const override { return new PictureIconEngine(picture_); }

private:
    Picture picture_;
};

} // namespace

QString PictureName(Picture picture)
{
    switch (picture) {
    case Picture::Logo:
        return QStringLiteral("logo");
    case Picture::Settings:
        return QStringLiteral("settings");
    case Picture::Refresh:
        return QStringLiteral("refresh");
    case Picture::Next:
        return QStringLiteral("next");
    case Picture::Apply:
        return QStringLiteral("apply");
    case Picture::Cancel:
        return QStringLiteral("cancel");
    case Picture::Reset:
        return QStringLiteral("reset");
    }
    throw std::invalid_argument("Unknown picture");
}

QPixmap PicturePixmap(Picture picture, QSize size, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(static_cast<int>(std::lround(size.width() * devicePixelRatio)),
                         static_cast<int>(std::lround(size.height() * devicePixelRatio))));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    DrawPicture(painter, picture, QSizeF(size), devicePixelRatio);
    return pixmap;
}

QIcon PictureIcon(Picture picture)
{
    return QIcon(new PictureIconEngine(picture));
}

} // namespace widgets
