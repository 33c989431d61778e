#include "i18n/localisation.h"

#include "i18n/window_translations.h"

namespace i18n {

Localisation::Localisation(TsiLangDispatcher& dispatcher, TranslatableWindow& mainWindow)
    : dispatcher_(dispatcher), siLang1_(mainWindow, FrmMainTranslations(), &dispatcher)
{
}

std::string Localisation::GetTextOrDefault(std::string_view id) const
{
    return siLang1_.GetTextOrDefault(id);
}

void Localisation::UpdateStrings()
{
    strsDotaz_ = GetTextOrDefault("strsDotaz");
    strsDownloadNovaVerze_ = GetTextOrDefault("strsDownloadNovaVerze");
}

} // namespace i18n
