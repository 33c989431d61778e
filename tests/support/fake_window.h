#pragma once

#include "i18n/translatable_window.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// A window of named text properties. It records every write, so a test sees
// both the outcome and whether a value was written again unchanged.
class FakeWindow final : public i18n::TranslatableWindow {
public:
    explicit FakeWindow(std::string className = "TFrmMain", std::string name = "FrmMain")
        : className_(std::move(className)), name_(std::move(name))
    {
    }

    // control "" is the window itself; path joined with dots.
    std::map<std::pair<std::string, std::string>, std::string> texts;
    std::map<std::pair<std::string, std::string>, std::vector<std::string>> lists;
    std::map<std::string, bool> parentFont;
    std::map<std::string, std::string> fontNames;
    std::map<std::string, int> charsets;
    std::vector<std::string> writes;

    void AddControl(const std::string& name) { controls_.push_back(name); }

    std::string ClassName() const override { return className_; }
    std::string Name() const override { return name_; }
    bool HasControl(const std::string& name) const override
    {
        for (const auto& control : controls_) {
            if (control == name)
                return true;
        }
        return false;
    }
    std::optional<std::string> ReadText(const std::string& control,
                                        const i18n::PropertyPath& path) const override
    {
        const auto it = texts.find({control, Join(path)});
        return it == texts.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void WriteText(const std::string& control, const i18n::PropertyPath& path,
                   const std::string& text) override
    {
        texts[{control, Join(path)}] = text;
        writes.push_back(control + "." + Join(path));
    }
    std::optional<std::vector<std::string>> ReadLines(const std::string& control,
                                                      const std::string& property) const override
    {
        const auto it = lists.find({control, property});
        return it == lists.end() ? std::nullopt
                                 : std::optional<std::vector<std::string>>(it->second);
    }
    void WriteLines(const std::string& control, const std::string& property,
                    const std::vector<std::string>& lines) override
    {
        lists[{control, property}] = lines;
        writes.push_back(control + "." + property);
    }
    bool HasParentFont(const std::string& control) const override
    {
        const auto it = parentFont.find(control);
        return it != parentFont.end() && it->second;
    }
    void SetFontName(const std::string& control, const std::string& name) override
    {
        fontNames[control] = name;
    }
    void SetFontCharset(const std::string& control, int charset) override
    {
        charsets[control] = charset;
    }

private:
    static std::string Join(const i18n::PropertyPath& path)
    {
        std::string joined;
        for (const auto& segment : path)
            joined += (joined.empty() ? "" : ".") + segment;
        return joined;
    }

    std::string className_;
    std::string name_;
    std::vector<std::string> controls_;
};

} // namespace test_support
