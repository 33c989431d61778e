#include "widgets/flat_button.h"

#include "widgets/colours.h"
#include "widgets/fonts.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace widgets {

namespace {

constexpr int kMargin = 5;
constexpr int kPictureOnlyMargin = 2;
constexpr int kCaptionGap = 3;
constexpr int kLargestAutomaticPicture = 32;
constexpr int kSmallestCaptionPixels = 8;
// Room kept clear on either side of a caption.
constexpr int kCaptionClearance = 1;
constexpr int kCaptionPixelHeight = 13;

} // namespace

TFlatButton::TFlatButton(QWidget* parent)
    : QAbstractButton(parent), hoverColour_(kHoverColour), pressedColour_(kPressedColour)
{
    setFont(UiFont(QStringLiteral("Segoe UI"), kCaptionPixelHeight));
}

TFlatButton::TFlatButton(const QIcon& picture, const QString& caption, QWidget* parent)
    : TFlatButton(parent)
{
    setIcon(picture);
    setText(caption);
}

void TFlatButton::setColour(const QColor& colour)
{
    colour_ = colour;
    update();
}

void TFlatButton::setHoverColour(const QColor& colour)
{
    hoverColour_ = colour;
    update();
}

void TFlatButton::setPressedColour(const QColor& colour)
{
    pressedColour_ = colour;
    update();
}

void TFlatButton::setPictureSize(const QSize& size)
{
    pictureSize_ = size;
    update();
}

QSize TFlatButton::pictureSize() const
{
    if (!pictureSize_.isEmpty()) {
        return pictureSize_;
    }
    if (text().isEmpty()) {
        const int side = std::min(width(), height()) - 2 * kPictureOnlyMargin;
        return QSize(std::max(side, 0), std::max(side, 0));
    }
    const int available =
        std::min(width() - 2 * kMargin, height() - 2 * kMargin - kCaptionGap - captionHeight());
    const int side = std::clamp(available, 0, kLargestAutomaticPicture);
    return QSize(side, side);
}

QSize TFlatButton::sizeHint() const
{
    const QSize picture = pictureSize_.isEmpty()
                              ? QSize(kLargestAutomaticPicture, kLargestAutomaticPicture)
                              : pictureSize_;
    if (text().isEmpty()) {
        return picture + QSize(2 * kPictureOnlyMargin, 2 * kPictureOnlyMargin);
    }
    const int captionWidth = fontMetrics().horizontalAdvance(text());
    return QSize(std::max(picture.width(), captionWidth) + 2 * kMargin,
                 picture.height() + kCaptionGap + captionHeight() + 2 * kMargin);
}

void TFlatButton::setDimmedWhenDisabled(bool dimmed)
{
    dimmedWhenDisabled_ = dimmed;
    update();
}

void TFlatButton::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TFlatButton::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

QColor TFlatButton::backgroundColour() const
{
    if (!isEnabled()) {
        return colour_;
    }
    if (isDown()) {
        return pressedColour_;
    }
    if (hovered_) {
        return hoverColour_;
    }
    return colour_;
}

int TFlatButton::captionHeight() const
{
    return fontMetrics().height();
}

QRect TFlatButton::captionRect() const
{
    const int height = captionHeight();
    return QRect(0, this->height() - kMargin - height, width(), height);
}

QRect TFlatButton::pictureRect() const
{
    QRect area = rect();
    if (!text().isEmpty()) {
        area.setTop(kMargin);
        area.setBottom(captionRect().top() - kCaptionGap - 1);
    }
    QRect picture(QPoint(0, 0), pictureSize());
    picture.moveCenter(area.center());
    return picture;
}

// A caption wider than the button is drawn smaller rather than cut off.
QFont TFlatButton::captionFont() const
{
    QFont font = this->font();
    if (font.pixelSize() <= 0) {
        return font;
    }
    while (font.pixelSize() > kSmallestCaptionPixels &&
           QFontMetrics(font).boundingRect(text()).width() > width() - 2 * kCaptionClearance) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

void TFlatButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor background = backgroundColour();
    if (background.isValid()) {
        painter.fillRect(rect(), background);
    }
    const bool dimmed = !isEnabled() && dimmedWhenDisabled_;
    if (dimmed) {
        painter.setOpacity(kDisabledOpacity);
    }
    icon().paint(&painter, pictureRect(), Qt::AlignCenter, QIcon::Normal);
    if (!text().isEmpty()) {
        painter.setPen(QColor::fromRgba(kTextColour));
        painter.setFont(captionFont());
        painter.drawText(captionRect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                         text());
    }
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setOpacity(1.0);
        painter.setPen(QPen(QColor::fromRgba(kTextColour), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

} // namespace widgets
