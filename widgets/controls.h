#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QWidget;

namespace widgets {

class TSmoothLabel;

// The window and panel colours both windows are laid out in.
inline const QColor kWindowColour{0x2A, 0x57, 0x9A};
inline const QColor kPanelColour{0x3E, 0x6D, 0xB6};

// Fills the widget with the colour behind its children.
void FillBackground(QWidget* widget, const QColor& colour);

// A plain panel of the panel colour at its designed place.
QWidget* MakePanel(QWidget* parent, const char* name, QRect geometry);

// A label that sizes itself to its text, its top-left corner at the position.
TSmoothLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint position,
                        int pixelHeight);

// A label of fixed size, its text aligned inside the box.
TSmoothLabel* MakeBoxLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                           int pixelHeight, Qt::Alignment alignment);

} // namespace widgets
