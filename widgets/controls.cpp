#include "widgets/controls.h"

#include "widgets/panel.h"
#include "widgets/smooth_label.h"

#include <QPalette>
#include <QWidget>

namespace widgets {

void FillBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QWidget* MakePanel(QWidget* parent, const char* name, QRect geometry)
{
    auto* panel = new TPanel(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    FillBackground(panel, kPanelColour);
    return panel;
}

TSmoothLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint position,
                        int pixelHeight)
{
    auto* label = new TSmoothLabel(text, pixelHeight, parent);
    label->setObjectName(name);
    label->move(position);
    return label;
}

TSmoothLabel* MakeBoxLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                           int pixelHeight, Qt::Alignment alignment)
{
    TSmoothLabel* label = MakeLabel(parent, name, text, geometry.topLeft(), pixelHeight);
    label->setAutoSize(false);
    label->setAlignment(alignment);
    label->resize(geometry.size());
    return label;
}

} // namespace widgets
