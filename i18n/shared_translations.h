#pragma once

#include "i18n/translation_component.h"

#include <string>
#include <string_view>
#include <vector>

// Pieces of the stored tables that both windows carry alike. Every field ends
// with the delimiter \x01 at the end of its own literal, so that no text
// after it is read as part of a hexadecimal escape.
namespace i18n::shared_translations {

// The controls of a window that show a version text in their "Version".
struct VersionedControls {
    std::vector<std::u16string_view> labels;
    std::vector<std::u16string_view> tilesAndButtons;
};

// A window's stored data: its own sections from "stCaptions" to
// "stMultiLines", the dialog captions, the "IDS_" lines and its own strings,
// its own other strings and a version line for each control that has one,
// then its own sections from "stLocales" on.
std::string StoredTranslationData(std::u16string_view captionsToMultiLines,
                                  std::u16string_view ownStrings,
                                  std::u16string_view ownOtherStrings,
                                  const VersionedControls& versioned,
                                  std::u16string_view localesToCharSets);

// An extended translation of a label's caption text, in its stored form.
TsiExtendedItem CaptionText(std::string_view control, std::u16string_view english,
                            std::u16string_view czech);

} // namespace i18n::shared_translations
