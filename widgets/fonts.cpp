#include "widgets/fonts.h"

#include <QFontDatabase>

namespace widgets {

namespace {

// fontconfig would pick the wider "DejaVu Sans" for both; the condensed cut
// is close to the width of "Segoe UI".
QString FreeSubstitute(const QString& family)
{
    if (family.compare(QLatin1String("Segoe UI"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("DejaVu Sans Condensed");
    }
    return QStringLiteral("DejaVu Sans");
}

} // namespace

QString UiFontFamily(const QString& family)
{
    if (QFontDatabase::hasFamily(family)) {
        return family;
    }
    return FreeSubstitute(family);
}

QFont UiFont(const QString& family, int pixelHeight)
{
    QFont font(UiFontFamily(family));
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace widgets
