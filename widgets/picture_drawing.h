#pragma once

#include "widgets/pictures.h"

#include <QPainter>
#include <QSizeF>
#include <QString>

namespace widgets {

// The picture's file name without its extension, e.g. "logo".
QString PictureName(Picture picture);

// Draws the picture into the square (0, 0, size) of a painter whose device
// has the given pixel ratio. Built from the drawings where Qt Svg is at hand,
// from pictures rendered at build time elsewhere.
void DrawPicture(QPainter& painter, Picture picture, QSizeF size, qreal devicePixelRatio);

} // namespace widgets
