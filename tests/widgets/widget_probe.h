#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <memory>

namespace test_support {

// The panel colour the widgets sit on in both windows.
constexpr QRgb kPanelColour = 0xFF3E6DB6;

// A top-level panel in the panel colour, not yet shown, for widgets to sit on.
std::unique_ptr<QWidget> MakePanel(QSize size = QSize(320, 200));

// Shows the panel and waits until it is exposed, so that mouse events reach
// it, then leaves the mouse on the panel's bottom row: keep its last two
// pixels free of widgets, so that none starts out under the mouse.
void ShowAndWait(QWidget& panel);

// What the widget looks like where it stands: its parent's background shows
// through wherever the widget paints nothing.
QImage GrabInParent(const QWidget& widget);

// Mouse actions through the widget's window, as the window system delivers
// them, so that enter and leave events and the mouse grab are real.
void MoveMouse(const QWidget& widget, QPoint position);
void PressMouse(const QWidget& widget, QPoint position);
void ReleaseMouse(const QWidget& widget, QPoint position);
void ClickMouse(const QWidget& widget, QPoint position);

// Pixels that are white or nearly so (anti-aliased edges aside).
bool IsWhite(QRgb pixel);
// The smallest rectangle holding every nearly white pixel; empty when none.
QRect WhiteBounds(const QImage& image);
int WhitePixelCount(const QImage& image);
// The smallest rectangle holding every pixel of another colour than the
// background, however faint.
QRect PaintedBounds(const QImage& image, QRgb background);

} // namespace test_support
