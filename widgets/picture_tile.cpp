#include "widgets/picture_tile.h"

#include <QEvent>

namespace widgets {

namespace {

constexpr QSize kTileSize(128, 90);
constexpr QSize kTilePictureSize(64, 64);

} // namespace

TPictureTile::TPictureTile(QWidget* parent) : TFlatButton(parent)
{
    resize(kTileSize);
    setPictureSize(kTilePictureSize);
    setDimmedWhenDisabled(false);
    updateCursor();
}

TPictureTile::TPictureTile(const QIcon& picture, QWidget* parent) : TPictureTile(parent)
{
    setIcon(picture);
}

QSize TPictureTile::sizeHint() const
{
    return kTileSize;
}

void TPictureTile::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        updateCursor();
    }
    TFlatButton::changeEvent(event);
}

void TPictureTile::updateCursor()
{
    if (isEnabled()) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
}

} // namespace widgets
