#include "i18n/language_dispatcher.h"

#include "platform/text_case.h"

namespace i18n {

LanguageDispatcher::LanguageDispatcher()
    : langNames_{"English", "Czech"}, language_("Czech"), activeLanguage_(2)
{
}

void LanguageDispatcher::SetLanguage(const std::string& name)
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
    if (position == activeLanguage_)
        return;
    activeLanguage_ = position;
    for (const auto& onChange : linked_)
        onChange(activeLanguage_);
    language_ = langNames_[static_cast<std::size_t>(position) - 1];
}

void LanguageDispatcher::Link(LanguageChanged onChange)
{
    linked_.push_back(std::move(onChange));
}

} // namespace i18n
