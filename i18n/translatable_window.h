#pragma once

#include <optional>
#include <string>
#include <vector>

namespace i18n {

// Property names from an object to a text, as in "Caption.Text".
using PropertyPath = std::vector<std::string>;

// A window as the translation engine sees it. Controls are found by their
// name within the window; the empty name is the window itself. Whatever the
// window lacks (a control, a property, a property that holds no text) reads
// as nothing and is never written.
class TranslatableWindow {
public:
    TranslatableWindow() = default;
    TranslatableWindow(const TranslatableWindow&) = delete;
    TranslatableWindow& operator=(const TranslatableWindow&) = delete;
    virtual ~TranslatableWindow() = default;

    virtual std::string ClassName() const = 0;
    virtual std::string Name() const = 0;
    virtual bool HasControl(const std::string& name) const = 0;

    virtual std::optional<std::string> ReadText(const std::string& control,
                                                const PropertyPath& path) const = 0;
    virtual void WriteText(const std::string& control, const PropertyPath& path,
                           const std::string& text) = 0;

    // A property holding a list of lines.
    virtual std::optional<std::vector<std::string>>
    ReadLines(const std::string& control, const std::string& property) const = 0;
    virtual void WriteLines(const std::string& control, const std::string& property,
                            const std::vector<std::string>& lines) = 0;

    // A control that takes its font from its parent has none to change.
    virtual bool HasParentFont(const std::string& control) const = 0;
    virtual void SetFontName(const std::string& control, const std::string& name) = 0;
    virtual void SetFontCharset(const std::string& control, int charset) = 0;

private:
    friend class TsiCustomLang;
    bool hasTranslationComponent_ = false;
};

} // namespace i18n
