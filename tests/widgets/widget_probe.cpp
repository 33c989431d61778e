#include "tests/widgets/widget_probe.h"

#include <QCursor>
#include <QPalette>
#include <QTest>
#include <QWindow>

namespace test_support {

namespace {

constexpr int kWhiteThreshold = 245;

QPoint InWindow(const QWidget& widget, QPoint position)
{
    return widget.mapTo(widget.window(), position);
}

QWindow* WindowOf(const QWidget& widget)
{
    return widget.window()->windowHandle();
}

} // namespace

std::unique_ptr<QWidget> MakePanel(QSize size)
{
    auto panel = std::make_unique<QWidget>();
    panel->resize(size);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor::fromRgba(kPanelColour));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

void ShowAndWait(QWidget& panel)
{
    panel.show();
    if (!QTest::qWaitForWindowExposed(&panel)) {
        qFatal("the test panel was never exposed");
    }
    // Two moves: one to where the mouse already is would be dropped, and a
    // widget that the panel was shown under would keep its hover look.
    MoveMouse(panel, QPoint(panel.width() - 2, panel.height() - 1));
    MoveMouse(panel, QPoint(panel.width() - 1, panel.height() - 1));
}

QImage GrabInParent(const QWidget& widget)
{
    return widget.parentWidget()
        ->grab(widget.geometry())
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

void MoveMouse(const QWidget& widget, QPoint position)
{
    // The cursor follows too: a widget shown later asks it whether the mouse
    // is over the widget.
    QCursor::setPos(widget.mapToGlobal(position));
    QTest::mouseMove(WindowOf(widget), InWindow(widget, position));
}

void PressMouse(const QWidget& widget, QPoint position)
{
    QTest::mousePress(WindowOf(widget), Qt::LeftButton, {}, InWindow(widget, position));
}

void ReleaseMouse(const QWidget& widget, QPoint position)
{
    QTest::mouseRelease(WindowOf(widget), Qt::LeftButton, {}, InWindow(widget, position));
}

void ClickMouse(const QWidget& widget, QPoint position)
{
    MoveMouse(widget, position);
    PressMouse(widget, position);
    ReleaseMouse(widget, position);
}

bool IsWhite(QRgb pixel)
{
    return qAlpha(pixel) == 255 && qRed(pixel) >= kWhiteThreshold &&
           qGreen(pixel) >= kWhiteThreshold && qBlue(pixel) >= kWhiteThreshold;
}

QRect WhiteBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsWhite(image.pixel(x, y))) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

int WhitePixelCount(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += IsWhite(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

QRect PaintedBounds(const QImage& image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

} // namespace test_support
