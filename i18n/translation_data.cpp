#include "i18n/translation_data.h"

#include "i18n/stored_text.h"
#include "platform/text_case.h"

#include <algorithm>
#include <optional>

namespace i18n {

namespace {

constexpr std::array<std::string_view, kStringsTypeCount> kTypeNames = {
    "stCaptions",   "stHints",        "stDisplayLabels", "stFonts",
    "stMultiLines", "stDlgsCaptions", "stStrings",       "stOtherStrings",
    "stLocales",    "stCollections",  "stCharSets",      "stListView_TreeView_Items",
};

constexpr std::string_view kHeaderSuffix = "_Unicode";

std::optional<std::size_t> SectionOf(std::string_view line)
{
    for (std::size_t i = 0; i < kTypeNames.size(); ++i) {
        const std::string header = std::string(kTypeNames[i]) + std::string(kHeaderSuffix);
        if (platform::EqualsIgnoreCase(line, header))
            return i;
    }
    return std::nullopt;
}

std::string UnescapeLineBreaks(std::string_view text)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), '\x19', '\r');
    std::replace(out.begin(), out.end(), '\x1A', '\n');
    return out;
}

void MoveWindowLineFirst(std::vector<TableLine>& table, std::string_view windowClassName)
{
    const auto own = std::find_if(table.begin(), table.end(), [&](const TableLine& line) {
        return line.key == windowClassName;
    });
    if (own != table.end())
        std::rotate(table.begin(), own, own + 1);
}

} // namespace

std::string_view StringsTypeName(StringsType type)
{
    return kTypeNames[static_cast<std::size_t>(type)];
}

TableLine ParseTableLine(std::string_view line, std::size_t numLanguages)
{
    TableLine parsed;
    parsed.texts.resize(numLanguages);
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t end = line.find(kLangDelim); end != std::string_view::npos;
         end = line.find(kLangDelim, start)) {
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    if (fields.empty())
        return parsed;
    parsed.key = std::string(fields[0]);
    for (std::size_t n = 1; n <= numLanguages && n < fields.size(); ++n)
        parsed.texts[n - 1] = UnescapeLineBreaks(fields[n]);
    return parsed;
}

TranslationTables ParseTranslationData(std::string_view text, std::size_t numLanguages,
                                       std::string_view windowClassName)
{
    TranslationTables tables;
    std::optional<std::size_t> section;
    while (!text.empty()) {
        const auto end = text.find("\r\n");
        const std::string_view line = text.substr(0, end);
        if (const auto header = SectionOf(line))
            section = header;
        else if (section && !line.empty())
            tables[*section].push_back(ParseTableLine(line, numLanguages));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 2);
    }
    for (auto& table : tables)
        MoveWindowLineFirst(table, windowClassName);
    return tables;
}

TranslationTables ParseTranslationDataBytes(std::string_view utf16le, std::size_t numLanguages,
                                            std::string_view windowClassName)
{
    return ParseTranslationData(DecodeStoredText(utf16le, "The translation data"), numLanguages,
                                windowClassName);
}

} // namespace i18n
