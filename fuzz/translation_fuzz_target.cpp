// Arbitrary bytes as a window's stored translation data. Bytes that are not
// UTF-16 must fail with the engine's own error; anything that loads must
// keep the window's own line first and apply in both languages to a window
// that has every control it names.

#include "fuzz/fuzz_target.h"
#include "i18n/translation_component.h"

#include <cstdlib>
#include <string>

namespace {

// Every key names a control of this window, so each line is applied.
class WindowOfEveryControl final : public i18n::TranslatableWindow {
public:
    std::string ClassName() const override { return "TFrmFuzz"; }
    std::string Name() const override { return "FrmFuzz"; }
    bool HasControl(const std::string& name) const override { return !name.empty(); }
    std::optional<std::string> ReadText(const std::string&,
                                        const i18n::PropertyPath& path) const override
    {
        return path.size() < 3 ? std::optional<std::string>("") : std::nullopt;
    }
    void WriteText(const std::string&, const i18n::PropertyPath&, const std::string&) override {}
    std::optional<std::vector<std::string>> ReadLines(const std::string&,
                                                      const std::string&) const override
    {
        return std::vector<std::string>{};
    }
    void WriteLines(const std::string&, const std::string&,
                    const std::vector<std::string>& lines) override
    {
        if (lines.empty())
            std::abort();
    }
    bool HasParentFont(const std::string& control) const override { return control.size() % 2; }
    void SetFontName(const std::string&, const std::string&) override {}
    void SetFontCharset(const std::string&, int charset) override
    {
        if (charset < 0 || charset > 255)
            std::abort();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    i18n::TranslationTables tables;
    try {
        tables = i18n::ParseTranslationDataBytes(bytes, 2, "TFrmFuzz");
    } catch (const i18n::ELanguageError&) {
        return 0;
    }
    for (const auto& table : tables) {
        for (std::size_t i = 1; i < table.size(); ++i) {
            if (table[i].key == "TFrmFuzz" && table[0].key != "TFrmFuzz")
                std::abort();
        }
    }
    WindowOfEveryControl window;
    i18n::TsiLangDispatcher dispatcher;
    i18n::TsiCustomLang component(window, std::move(tables), {}, &dispatcher);
    dispatcher.SetLanguage("English");
    dispatcher.SetLanguage("Czech");
    return 0;
}
