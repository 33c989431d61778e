#pragma once

#include <QFont>
#include <QString>

namespace widgets {

// The windows are laid out for "Segoe UI" and "Tahoma". Where a family is not
// installed, a free family of similar width takes its place, so that every
// text still fits the box it was laid out in.
QFont UiFont(const QString& family, int pixelHeight);

// The family UiFont() draws with for the given design family.
QString UiFontFamily(const QString& family);

} // namespace widgets
