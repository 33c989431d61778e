#pragma once

#include "i18n/lang_dispatcher.h"
#include "i18n/translation_component.h"

#include <string>
#include <string_view>

namespace i18n {

// The main window's translation component, whose string table every text
// built at run time comes from, and the two cached texts of the update
// question.
class Localisation {
public:
    // Loads the main window's tables and links them to the dispatcher.
    Localisation(TsiLangDispatcher& dispatcher, TranslatableWindow& mainWindow);

    // The text of the ID in the active language, else in English, else
    // empty. Safe from any thread once start-up has set the language.
    std::string GetTextOrDefault(std::string_view id) const;

    void UpdateStrings();
    const std::string& strsDownloadNovaVerze() const { return strsDownloadNovaVerze_; }
    const std::string& strsDotaz() const { return strsDotaz_; }

    TsiLangDispatcher& Dispatcher() const { return dispatcher_; }
    TsiLang& siLang1() { return siLang1_; }

private:
    TsiLangDispatcher& dispatcher_;
    TsiLang siLang1_;
    std::string strsDownloadNovaVerze_;
    std::string strsDotaz_;
};

} // namespace i18n
