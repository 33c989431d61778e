#pragma once

#include "i18n/translatable_window.h"

class QObject;
class QWidget;

namespace widgets {

// A window's controls for the translation engine, over Qt's property system.
// A path segment names a property of the object reached so far, or one of
// the names the translation tables use for Qt's own: "Caption" (the title of
// a window, else "text"), "Hint" ("toolTip") and "Text" ("text").
class WindowTranslationTarget final : public i18n::TranslatableWindow {
public:
    WindowTranslationTarget(QWidget& window, std::string className);

    std::string ClassName() const override { return className_; }
    std::string Name() const override;
    bool HasControl(const std::string& name) const override;
    std::optional<std::string> ReadText(const std::string& control,
                                        const i18n::PropertyPath& path) const override;
    void WriteText(const std::string& control, const i18n::PropertyPath& path,
                   const std::string& text) override;
    std::optional<std::vector<std::string>> ReadLines(const std::string& control,
                                                      const std::string& property) const override;
    void WriteLines(const std::string& control, const std::string& property,
                    const std::vector<std::string>& lines) override;
    bool HasParentFont(const std::string& control) const override;
    void SetFontName(const std::string& control, const std::string& name) override;
    void SetFontCharset(const std::string& control, int charset) override;

private:
    QObject* Control(const std::string& name) const;
    QWidget* ControlWidget(const std::string& name) const;

    QWidget& window_;
    std::string className_;
};

} // namespace widgets
