#include "widgets/fonts.h"

#include <QFontDatabase>

namespace widgets {

namespace {

const QLatin1String kCondensedFamily("DejaVu Sans Condensed");
const QLatin1String kWideFamily("DejaVu Sans");

bool IsSegoeUi(const QString& family)
{
    return family.compare(QLatin1String("Segoe UI"), Qt::CaseInsensitive) == 0;
}

// fontconfig would pick the wider "DejaVu Sans" for both; the condensed cut
// is close to the width of "Segoe UI". Font databases that read the font
// files themselves (Qt's own, as offscreen on Windows) list that cut only as
// a narrower width of "DejaVu Sans".
QString FreeSubstitute(const QString& family)
{
    if (IsSegoeUi(family) && QFontDatabase::hasFamily(kCondensedFamily)) {
        return kCondensedFamily;
    }
    return kWideFamily;
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
    if (IsSegoeUi(family) && font.family() == kWideFamily) {
        font.setStretch(QFont::SemiCondensed);
    }
    // Hinted only upright, letters keep their designed widths, so a text
    // measures alike on every system and still fits where it was laid out.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace widgets
