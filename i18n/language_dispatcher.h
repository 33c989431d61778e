#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace i18n {

class ELanguageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The application-wide active language. It starts at the language the
// windows are laid out in and tells every linked window when it changes.
class LanguageDispatcher {
public:
    // Called with the new 1-based language number, in link order.
    using LanguageChanged = std::function<void(int activeLanguage)>;

    LanguageDispatcher();

    const std::vector<std::string>& LangNames() const { return langNames_; }
    int NumOfLanguages() const { return static_cast<int>(langNames_.size()); }
    const std::string& Language() const { return language_; }
    int ActiveLanguage() const { return activeLanguage_; }

    // Same name (letter case counting): nothing. A name not in LangNames
    // (ignoring case): ELanguageError, nothing changes.
    void SetLanguage(const std::string& name);

    void Link(LanguageChanged onChange);

private:
    std::vector<std::string> langNames_;
    std::string language_;
    int activeLanguage_;
    std::vector<LanguageChanged> linked_;
};

} // namespace i18n
