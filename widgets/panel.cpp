#include "widgets/panel.h"

#include "widgets/colours.h"

#include <QPainter>

namespace widgets {

TPanel::TPanel(QWidget* parent) : QWidget(parent), caption_(QStringLiteral(" ")) {}

void TPanel::setCaption(const QString& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    update();
}

void TPanel::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor::fromRgba(kTextColour));
    painter.drawText(rect(), Qt::AlignCenter, caption_);
}

} // namespace widgets
