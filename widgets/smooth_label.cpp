#include "widgets/smooth_label.h"

#include "widgets/colours.h"
#include "widgets/fonts.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace widgets {

namespace {

constexpr int kDefaultPixelHeight = 15;

} // namespace

TSmoothLabelCaption::TSmoothLabelCaption(TSmoothLabel& label) : label_(label) {}

QString TSmoothLabelCaption::text() const
{
    return label_.text();
}

void TSmoothLabelCaption::setText(const QString& text)
{
    label_.setText(text);
}

TSmoothLabel::TSmoothLabel(QWidget* parent) : TSmoothLabel(QString(), kDefaultPixelHeight, parent)
{
}

TSmoothLabel::TSmoothLabel(const QString& text, int pixelHeight, QWidget* parent)
    : QWidget(parent), text_(text)
{
    setFont(UiFont(QStringLiteral("Segoe UI"), pixelHeight));
    fitToText();
}

void TSmoothLabel::setText(const QString& text)
{
    if (text == text_) {
        return;
    }
    text_ = text;
    fitToText();
    update();
}

void TSmoothLabel::setPixelHeight(int pixelHeight)
{
    QFont font = this->font();
    font.setFamily(UiFontFamily(QStringLiteral("Segoe UI")));
    font.setPixelSize(pixelHeight);
    setFont(font);
}

void TSmoothLabel::setAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    fitToText();
}

void TSmoothLabel::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TSmoothLabel::setUnderlined(bool underlined)
{
    QFont font = this->font();
    font.setUnderline(underlined);
    setFont(font);
}

QString TSmoothLabel::displayedText() const
{
    QString lines = text_;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

QSize TSmoothLabel::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const QStringList lines = displayedText().split(QLatin1Char('\n'));
    qreal width = 0;
    for (const QString& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    const qreal height =
        metrics.height() + static_cast<qreal>(lines.size() - 1) * metrics.lineSpacing();
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
}

void TSmoothLabel::fitToText()
{
    if (autoSize_) {
        resize(sizeHint());
    }
}

void TSmoothLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor::fromRgba(kTextColour));
    painter.setFont(font());
    painter.drawText(rect(), static_cast<int>(alignment_ | Qt::AlignTop), displayedText());
}

void TSmoothLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    event->accept();
}

void TSmoothLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (!click) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    emit clicked();
}

void TSmoothLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        fitToText();
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace widgets
