#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <array>

namespace widgets {

// The white pictures of the tiles and buttons.
enum class Picture { Logo, Settings, Refresh, Next, Apply, Cancel, Reset };

constexpr std::array<Picture, 7> kAllPictures = {Picture::Logo, Picture::Settings, Picture::Refresh,
                                                 Picture::Next, Picture::Apply,    Picture::Cancel,
                                                 Picture::Reset};

// The resource path of the picture's drawing.
QString PicturePath(Picture picture);

// The picture drawn at the size in device-independent pixels; the pixmap
// carries the device pixel ratio so that it stays sharp on scaled screens.
QPixmap PicturePixmap(Picture picture, QSize size, qreal devicePixelRatio = 1.0);

// The picture as an icon that scales without loss, e.g. for a window icon.
QIcon PictureIcon(Picture picture);

} // namespace widgets
