#include "widgets/toggle_switch.h"

#include "widgets/colours.h"
#include "widgets/fonts.h"

#include <QPainter>

namespace widgets {

namespace {

constexpr QSize kSwitchSize(77, 22);
constexpr int kThumbWidth = 24;
constexpr int kThumbInset = 3;
constexpr int kCaptionPixelHeight = 15;

} // namespace

TToggleSwitch::TToggleSwitch(QWidget* parent)
    : QAbstractButton(parent), onCaption_(QStringLiteral("On")), offCaption_(QStringLiteral("Off"))
{
    setCheckable(true);
    setFont(UiFont(QStringLiteral("Segoe UI"), kCaptionPixelHeight));
    resize(kSwitchSize);
}

void TToggleSwitch::setCaptions(const QString& onCaption, const QString& offCaption)
{
    onCaption_ = onCaption;
    offCaption_ = offCaption;
    update();
}

QSize TToggleSwitch::sizeHint() const
{
    return kSwitchSize;
}

QRect TToggleSwitch::thumbRect() const
{
    const QRect inner = rect().adjusted(kThumbInset, kThumbInset, -kThumbInset, -kThumbInset);
    if (isChecked()) {
        return QRect(inner.right() - kThumbWidth + 1, inner.top(), kThumbWidth, inner.height());
    }
    return QRect(inner.left(), inner.top(), kThumbWidth, inner.height());
}

QRect TToggleSwitch::captionRect() const
{
    const QRect thumb = thumbRect();
    if (isChecked()) {
        return QRect(0, 0, thumb.left(), height());
    }
    return QRect(thumb.right() + 1, 0, width() - thumb.right() - 1, height());
}

void TToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!isEnabled()) {
        painter.setOpacity(kDisabledOpacity);
    }
    const QColor frame = QColor::fromRgba(kSwitchFrameColour);
    painter.fillRect(rect(), frame);
    painter.fillRect(rect().adjusted(1, 1, -1, -1),
                     QColor::fromRgba(isChecked() ? kSwitchOnTrackColour : kSwitchOffTrackColour));
    painter.fillRect(thumbRect(), frame);
    painter.setPen(QColor::fromRgba(kTextColour));
    painter.setFont(font());
    painter.drawText(captionRect(), Qt::AlignCenter | Qt::TextSingleLine,
                     isChecked() ? onCaption_ : offCaption_);
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(QColor::fromRgba(kTextColour), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace widgets
