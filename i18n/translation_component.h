#pragma once

#include "i18n/lang_dispatcher.h"
#include "i18n/string_index.h"
#include "i18n/translatable_window.h"
#include "i18n/translation_data.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace i18n {

// The kind of the property an extended translation sets; only text kinds are
// ever set.
enum class TTypeKind { tkInteger, tkString, tkLString, tkWString, tkUString };

// A translation addressed by a dotted path from the window, for texts that no
// table reaches ("txProxyList.Caption.Text").
struct TsiExtendedItem {
    std::string Identifier;
    TTypeKind PropertyType = TTypeKind::tkUString;
    // FF FE, then UTF-16LE: each language's text ended by the delimiter.
    std::string ValuesEx;
};

// A window's translation tables, as the window carries them.
struct StoredTranslations {
    // UTF-16LE without byte-order mark.
    std::string TranslationData;
    std::vector<TsiExtendedItem> ExtendedTranslations;
};

// A window's translation tables and the engine that applies them. One per
// window; it follows the dispatcher it is linked to.
class TsiCustomLang {
public:
    // Excluded lines are dropped and the string index built; then the
    // component links to the dispatcher, if any, and so may apply a
    // language at once.
    TsiCustomLang(TranslatableWindow& window, TranslationTables tables,
                  std::vector<TsiExtendedItem> extendedTranslations, TsiLangDispatcher* dispatcher);
    TsiCustomLang(const TsiCustomLang&) = delete;
    TsiCustomLang& operator=(const TsiCustomLang&) = delete;
    virtual ~TsiCustomLang();

    int NumOfLanguages() const { return static_cast<int>(langNames_.size()); }
    const std::vector<std::string>& LangNames() const { return langNames_; }
    int ActiveLanguage() const { return activeLanguage_; }
    const std::string& Language() const { return language_; }
    TsiLangDispatcher* LangDispatcher() const { return dispatcher_; }
    static char LangDelim() { return kLangDelim; }
    static const std::vector<std::string>& ExcludedProperties();
    const TranslationTables& Tables() const { return tables_; }

    // Out of 1 to NumOfLanguages: ELanguageError, nothing changes.
    void SetActiveLanguage(int number);
    // Applies the active column of every table to the window.
    void ChangeLanguage();

    // The text of the string ID in the active language, else in language 1,
    // else empty. Only reads, so any thread may look up once start-up is over.
    std::string GetTextOrDefault(std::string_view id) const;

    std::function<void(TsiCustomLang& sender)> OnChangeLanguage;

private:
    friend class TsiLangDispatcher;

    struct ExtendedTranslation {
        std::string control;
        PropertyPath path;
        TTypeKind type;
        std::vector<std::string> texts;
    };

    void LinkTo(TsiLangDispatcher& dispatcher);
    const std::string& ActiveText(const std::vector<std::string>& texts) const;
    const std::vector<TableLine>& Table(StringsType type) const;
    // The control a line's key names, "" for the window itself.
    std::optional<std::string> ControlFor(const std::string& key) const;
    void ApplyOwnText(StringsType type, const std::string& property);
    void ApplyTextTable(StringsType type, const std::string& property);
    void ApplyFonts();
    void ApplyFont(const std::string& control, const TableLine& fontLine);
    void ApplyMultiLines();
    void ApplyPathTable(StringsType type);
    void ApplyExtendedTranslations();
    void SetIfDifferent(const std::string& control, const PropertyPath& path,
                        const std::string& text);

    TranslatableWindow& window_;
    TranslationTables tables_;
    std::vector<ExtendedTranslation> extended_;
    StringIndex index_;
    std::vector<std::string> langNames_;
    int activeLanguage_;
    std::string language_;
    TsiLangDispatcher* dispatcher_ = nullptr;
};

// The component as a window carries it: its stored tables, two languages,
// Czech as stored.
class TsiLang final : public TsiCustomLang {
public:
    TsiLang(TranslatableWindow& window, const StoredTranslations& stored,
            TsiLangDispatcher* dispatcher);
};

} // namespace i18n
