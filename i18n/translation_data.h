#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace i18n {

// The table kinds, in the order their sections are stored.
enum class StringsType {
    stCaptions,
    stHints,
    stDisplayLabels,
    stFonts,
    stMultiLines,
    stDlgsCaptions,
    stStrings,
    stOtherStrings,
    stLocales,
    stCollections,
    stCharSets,
    stListView_TreeView_Items,
};
constexpr std::size_t kStringsTypeCount = 12;

// Ends every field of a table line, the key included.
constexpr char kLangDelim = '\x01';

std::string_view StringsTypeName(StringsType type);

// A key and one text per language; texts[0] is language 1.
struct TableLine {
    std::string key;
    std::vector<std::string> texts;
};

// Field n of the line is the text between its n-th and (n+1)-th delimiter;
// a field without its closing delimiter reads as empty. Codes 25 and 26 in a
// text stand for CR and LF.
TableLine ParseTableLine(std::string_view line, std::size_t numLanguages);

using TranslationTables = std::array<std::vector<TableLine>, kStringsTypeCount>;

// The stored TranslationData of a window, already decoded to UTF-8: section
// headers "<kind>_Unicode" (any letter case), lines separated by CR LF. A line
// keyed by the window's class name moves to the front of its table.
TranslationTables ParseTranslationData(std::string_view text, std::size_t numLanguages,
                                       std::string_view windowClassName);

// The same from the stored bytes (UTF-16LE without byte-order mark); bytes
// that are not UTF-16 fail with an ELanguageError.
TranslationTables ParseTranslationDataBytes(std::string_view utf16le, std::size_t numLanguages,
                                            std::string_view windowClassName);

} // namespace i18n
