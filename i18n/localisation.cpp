#include "i18n/localisation.h"

#include "i18n/main_window_strings.h"

namespace i18n {

namespace {

constexpr std::string_view kMainWindowClass = "TFrmMain";

std::vector<TableLine> MainWindowStrings(std::size_t numLanguages)
{
    auto tables = ParseTranslationData(MainWindowStringsData(), numLanguages, kMainWindowClass);
    return std::move(tables[static_cast<std::size_t>(StringsType::stStrings)]);
}

} // namespace

Localisation::Localisation(LanguageDispatcher& dispatcher)
    : dispatcher_(dispatcher),
      index_(MainWindowStrings(static_cast<std::size_t>(dispatcher.NumOfLanguages())))
{
    dispatcher_.Link([this](int) { UpdateStrings(); });
}

std::string Localisation::GetTextOrDefault(std::string_view id) const
{
    const StringIndex::Item* item = index_.Find(id);
    if (!item)
        return {};
    const auto active = static_cast<std::size_t>(dispatcher_.ActiveLanguage());
    if (active >= 1 && active <= item->texts.size() && !item->texts[active - 1].empty())
        return item->texts[active - 1];
    return item->texts.empty() ? std::string() : item->texts[0];
}

void Localisation::UpdateStrings()
{
    strsDotaz_ = GetTextOrDefault("strsDotaz");
    strsDownloadNovaVerze_ = GetTextOrDefault("strsDownloadNovaVerze");
}

} // namespace i18n
