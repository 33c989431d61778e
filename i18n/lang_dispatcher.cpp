#include "i18n/lang_dispatcher.h"

#include "i18n/translation_component.h"
#include "platform/text_case.h"

#include <algorithm>

namespace i18n {

TsiLangDispatcher::TsiLangDispatcher()
    : langNames_{"English", "Czech"}, language_("Czech"), activeLanguage_(2)
{
}

TsiLangDispatcher::~TsiLangDispatcher()
{
    for (TsiCustomLang* component : linked_)
        component->dispatcher_ = nullptr;
}

void TsiLangDispatcher::SetLanguage(const std::string& name)
{
    if (name == language_)
        return;
    int position = 0;
    for (std::size_t i = 0; i < langNames_.size(); ++i) {
        if (platform::EqualsIgnoreCase(langNames_[i], name)) {
            position = static_cast<int>(i) + 1;
            break;
        }
    }
    if (position == 0 && !langNames_.empty())
        throw ELanguageError("Language name shall be included in LangNames property!");
    language_ = name;
    // Without names there is no number to go with the name.
    if (position == 0 || position == activeLanguage_)
        return;
    activeLanguage_ = position;
    for (TsiCustomLang* component : linked_)
        component->SetActiveLanguage(activeLanguage_);
    language_ = langNames_[static_cast<std::size_t>(position) - 1];
}

void TsiLangDispatcher::Link(TsiCustomLang& component)
{
    linked_.push_back(&component);
}

void TsiLangDispatcher::Unlink(TsiCustomLang& component)
{
    linked_.erase(std::remove(linked_.begin(), linked_.end(), &component), linked_.end());
}

} // namespace i18n
