#include "i18n/translation_component.h"

#include "i18n/comma_text.h"
#include "i18n/font_charsets.h"
#include "i18n/stored_text.h"
#include "platform/text_case.h"

#include <algorithm>
#include <stdexcept>

namespace i18n {

namespace {

constexpr int kStoredLanguage = 2;
const std::vector<std::string> kStoredLangNames = {"English", "Czech"};

PropertyPath SplitPath(std::string_view dotted)
{
    PropertyPath segments;
    std::size_t start = 0;
    for (std::size_t dot = dotted.find('.'); dot != std::string_view::npos;
         dot = dotted.find('.', start)) {
        segments.emplace_back(dotted.substr(start, dot - start));
        start = dot + 1;
    }
    segments.emplace_back(dotted.substr(start));
    return segments;
}

bool IsExcluded(const PropertyPath& targetPath)
{
    if (targetPath.empty())
        return false;
    if (platform::EqualsIgnoreCase(targetPath.back(), "Name"))
        return true;
    const auto& excluded = TsiCustomLang::ExcludedProperties();
    return std::any_of(targetPath.begin(), targetPath.end(), [&](const std::string& segment) {
        return std::any_of(excluded.begin(), excluded.end(), [&](const std::string& name) {
            return platform::EqualsIgnoreCase(segment, name);
        });
    });
}

// The properties a key leads to past its control, for the tables whose keys
// are paths.
bool KeyIsPath(StringsType type)
{
    return type == StringsType::stMultiLines || type == StringsType::stOtherStrings ||
           type == StringsType::stCollections;
}

TranslationTables WithoutExcludedLines(TranslationTables tables)
{
    for (std::size_t type = 0; type < tables.size(); ++type) {
        if (!KeyIsPath(static_cast<StringsType>(type)))
            continue;
        auto& table = tables[type];
        table.erase(std::remove_if(table.begin(), table.end(),
                                   [](const TableLine& line) {
                                       PropertyPath path = SplitPath(line.key);
                                       path.erase(path.begin());
                                       return IsExcluded(path);
                                   }),
                    table.end());
    }
    return tables;
}

std::vector<std::string> ValuesExTexts(const TsiExtendedItem& item, std::size_t numLanguages)
{
    const std::string_view bom = "\xFF\xFE";
    const std::string_view stored = item.ValuesEx;
    if (stored.substr(0, bom.size()) != bom) {
        throw ELanguageError("The texts of \"" + item.Identifier +
                             "\" do not start with the UTF-16LE byte-order mark.");
    }
    const std::string text =
        DecodeStoredText(stored.substr(bom.size()), "The texts of \"" + item.Identifier + "\"");
    return ParseTableLine(std::string(1, kLangDelim) + text, numLanguages).texts;
}

bool IsTextKind(TTypeKind kind)
{
    return kind != TTypeKind::tkInteger;
}

} // namespace

const std::vector<std::string>& TsiCustomLang::ExcludedProperties()
{
    static const std::vector<std::string> names = {
        "Category",
        "SecondaryShortCuts",
        "HelpKeyword",
        "InitialDir",
        "HelpKeyword",
        "ActivePage",
        "ImeName",
        "DefaultExt",
        "FileName",
        "FieldName",
        "PickList",
        "DisplayFormat",
        "EditMask",
        "KeyList",
        "LookupDisplayFields",
        "DropDownSpecRow",
        "TableName",
        "DatabaseName",
        "IndexName",
        "MasterFields",
        "SQL",
        "DeleteSQL",
        "UpdateSQL",
        "ModifySQL",
        "KeyFields",
        "LookupKeyFields",
        "LookupResultField",
        "DataField",
        "KeyField",
        "ListField",
    };
    return names;
}

TsiCustomLang::TsiCustomLang(TranslatableWindow& window, TranslationTables tables,
                             std::vector<TsiExtendedItem> extendedTranslations,
                             TsiLangDispatcher* dispatcher)
    : window_(window), tables_(WithoutExcludedLines(std::move(tables))),
      index_(tables_[static_cast<std::size_t>(StringsType::stStrings)]),
      langNames_(kStoredLangNames), activeLanguage_(kStoredLanguage),
      language_(kStoredLangNames[kStoredLanguage - 1])
{
    if (window_.hasTranslationComponent_)
        throw std::runtime_error("Only one TsiCustomLang component per Form/DataModule allowed!");
    for (const TsiExtendedItem& item : extendedTranslations) {
        PropertyPath path = SplitPath(item.Identifier);
        std::string control = path.front();
        path.erase(path.begin());
        if (path.empty() || IsExcluded(path))
            continue;
        extended_.push_back({std::move(control), std::move(path), item.PropertyType,
                             ValuesExTexts(item, langNames_.size())});
    }
    window_.hasTranslationComponent_ = true;
    if (dispatcher)
        LinkTo(*dispatcher);
}

TsiCustomLang::~TsiCustomLang()
{
    if (dispatcher_)
        dispatcher_->Unlink(*this);
    window_.hasTranslationComponent_ = false;
}

void TsiCustomLang::LinkTo(TsiLangDispatcher& dispatcher)
{
    if (dispatcher_ == &dispatcher)
        return;
    dispatcher.Link(*this);
    dispatcher_ = &dispatcher;
    langNames_ = dispatcher.LangNames();
    language_ = dispatcher.Language();
    SetActiveLanguage(dispatcher.ActiveLanguage());
}

void TsiCustomLang::SetActiveLanguage(int number)
{
    if (number == activeLanguage_)
        return;
    if (number < 1 || number > NumOfLanguages()) {
        throw ELanguageError(window_.ClassName() + ": " + std::to_string(number) +
                             " - is not a valid property value!\nValue must be within [1.." +
                             std::to_string(NumOfLanguages()) + "]!");
    }
    activeLanguage_ = number;
    language_ = langNames_[static_cast<std::size_t>(number) - 1];
    ChangeLanguage();
}

const std::string& TsiCustomLang::ActiveText(const std::vector<std::string>& texts) const
{
    static const std::string none;
    const auto column = static_cast<std::size_t>(activeLanguage_) - 1;
    return column < texts.size() ? texts[column] : none;
}

const std::vector<TableLine>& TsiCustomLang::Table(StringsType type) const
{
    return tables_[static_cast<std::size_t>(type)];
}

std::optional<std::string> TsiCustomLang::ControlFor(const std::string& key) const
{
    if (window_.HasControl(key))
        return key;
    if (key == window_.ClassName() || key == window_.Name())
        return std::string();
    return std::nullopt;
}

void TsiCustomLang::ChangeLanguage()
{
    ApplyOwnText(StringsType::stCaptions, "Caption");
    ApplyOwnText(StringsType::stHints, "Hint");
    ApplyTextTable(StringsType::stCaptions, "Caption");
    ApplyTextTable(StringsType::stHints, "Hint");
    ApplyTextTable(StringsType::stDisplayLabels, "DisplayLabel");
    ApplyFonts();
    ApplyMultiLines();
    ApplyPathTable(StringsType::stOtherStrings);
    ApplyPathTable(StringsType::stCollections);
    ApplyExtendedTranslations();
    if (OnChangeLanguage)
        OnChangeLanguage(*this);
}

void TsiCustomLang::ApplyOwnText(StringsType type, const std::string& property)
{
    const auto& table = Table(type);
    if (table.empty() || table.front().key != window_.ClassName())
        return;
    const std::string& text = ActiveText(table.front().texts);
    if (!text.empty())
        window_.WriteText({}, {property}, text);
}

void TsiCustomLang::ApplyTextTable(StringsType type, const std::string& property)
{
    const auto& table = Table(type);
    const bool ownLineFirst = !table.empty() && table.front().key == window_.ClassName();
    for (auto line = table.begin() + (ownLineFirst ? 1 : 0); line != table.end(); ++line) {
        if (const auto control = ControlFor(line->key))
            SetIfDifferent(*control, {property}, ActiveText(line->texts));
    }
}

void TsiCustomLang::SetIfDifferent(const std::string& control, const PropertyPath& path,
                                   const std::string& text)
{
    if (text.empty())
        return;
    const auto current = window_.ReadText(control, path);
    if (current && *current != text)
        window_.WriteText(control, path, text);
}

void TsiCustomLang::ApplyFonts()
{
    for (const TableLine& line : Table(StringsType::stFonts)) {
        if (window_.HasControl(line.key) && !window_.HasParentFont(line.key))
            ApplyFont(line.key, line);
    }
    const auto& fonts = Table(StringsType::stFonts);
    if (!fonts.empty() && fonts.front().key == window_.ClassName())
        ApplyFont({}, fonts.front());
}

void TsiCustomLang::ApplyFont(const std::string& control, const TableLine& fontLine)
{
    const auto& charsets = Table(StringsType::stCharSets);
    const auto charsetLine =
        std::find_if(charsets.begin(), charsets.end(),
                     [&](const TableLine& l) { return l.key == fontLine.key; });
    if (charsetLine != charsets.end()) {
        if (const auto charset = CharsetValue(ActiveText(charsetLine->texts)))
            window_.SetFontCharset(control, *charset);
    }
    const std::string& name = ActiveText(fontLine.texts);
    if (!name.empty())
        window_.SetFontName(control, name);
}

void TsiCustomLang::ApplyMultiLines()
{
    for (const TableLine& line : Table(StringsType::stMultiLines)) {
        const auto dot = line.key.find('.');
        const std::string& text = ActiveText(line.texts);
        if (dot == std::string::npos || text.empty())
            continue;
        const auto control = ControlFor(line.key.substr(0, dot));
        if (!control)
            continue;
        const std::string property = line.key.substr(dot + 1);
        const std::vector<std::string> lines = SplitCommaText(text);
        const auto current = window_.ReadLines(*control, property);
        if (current && *current != lines)
            window_.WriteLines(*control, property, lines);
    }
}

void TsiCustomLang::ApplyPathTable(StringsType type)
{
    for (const TableLine& line : Table(type)) {
        PropertyPath path = SplitPath(line.key);
        const auto control = ControlFor(path.front());
        path.erase(path.begin());
        if (control && !path.empty())
            SetIfDifferent(*control, path, ActiveText(line.texts));
    }
}

void TsiCustomLang::ApplyExtendedTranslations()
{
    for (const ExtendedTranslation& item : extended_) {
        const std::string& text = ActiveText(item.texts);
        if (text.empty() || !IsTextKind(item.type))
            continue;
        std::optional<std::string> control;
        if (window_.HasControl(item.control))
            control = item.control;
        else if (item.control == window_.ClassName())
            control = std::string();
        if (control && window_.ReadText(*control, item.path))
            window_.WriteText(*control, item.path, text);
    }
}

std::string TsiCustomLang::GetTextOrDefault(std::string_view id) const
{
    const StringIndex::Item* item = index_.Find(id);
    if (!item)
        return {};
    const std::string& active = ActiveText(item->texts);
    if (!active.empty())
        return active;
    return item->texts.empty() ? std::string() : item->texts.front();
}

TsiLang::TsiLang(TranslatableWindow& window, const StoredTranslations& stored,
                 TsiLangDispatcher* dispatcher)
    : TsiCustomLang(window,
                    ParseTranslationDataBytes(stored.TranslationData, kStoredLangNames.size(),
                                              window.ClassName()),
                    stored.ExtendedTranslations, dispatcher)
{
}

} // namespace i18n
