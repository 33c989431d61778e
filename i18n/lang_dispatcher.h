#pragma once

#include "i18n/language_error.h"

#include <string>
#include <vector>

namespace i18n {

class TsiCustomLang;

// The application-wide active language. It starts at the language the
// windows are laid out in; setting another one applies it to every linked
// window's translation component, in link order.
class TsiLangDispatcher {
public:
    TsiLangDispatcher();
    TsiLangDispatcher(const TsiLangDispatcher&) = delete;
    TsiLangDispatcher& operator=(const TsiLangDispatcher&) = delete;
    ~TsiLangDispatcher();

    const std::vector<std::string>& LangNames() const { return langNames_; }
    int NumOfLanguages() const { return static_cast<int>(langNames_.size()); }
    const std::string& Language() const { return language_; }
    int ActiveLanguage() const { return activeLanguage_; }

    // Same name (letter case counting): nothing. A name not in LangNames
    // (ignoring case): ELanguageError, nothing changes.
    void SetLanguage(const std::string& name);

    const std::vector<TsiCustomLang*>& LinkedComponents() const { return linked_; }

private:
    friend class TsiCustomLang;
    void Link(TsiCustomLang& component);
    void Unlink(TsiCustomLang& component);

    std::vector<std::string> langNames_;
    std::string language_;
    int activeLanguage_;
    std::vector<TsiCustomLang*> linked_;
};

} // namespace i18n
