#pragma once

#include "i18n/language_dispatcher.h"
#include "i18n/string_index.h"

#include <string>
#include <string_view>

namespace i18n {

// The main window's string table looked up in the active language, and the
// two cached texts of the update question.
class Localisation {
public:
    // Loads the main window's string table and links to the dispatcher, so
    // that a change of language refreshes the cached texts.
    explicit Localisation(LanguageDispatcher& dispatcher);

    // The text of the ID in the active language, else in English, else
    // empty. Safe from any thread once start-up has set the language.
    std::string GetTextOrDefault(std::string_view id) const;

    void UpdateStrings();
    const std::string& strsDownloadNovaVerze() const { return strsDownloadNovaVerze_; }
    const std::string& strsDotaz() const { return strsDotaz_; }

    LanguageDispatcher& Dispatcher() const { return dispatcher_; }

private:
    LanguageDispatcher& dispatcher_;
    StringIndex index_;
    std::string strsDownloadNovaVerze_;
    std::string strsDotaz_;
};

} // namespace i18n
