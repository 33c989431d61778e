#pragma once

#include "i18n/translation_component.h"
#include "settings/config_window_logic.h"
#include "settings/test_url_source.h"
#include "widgets/window_translation_target.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLineEdit;

namespace settings {

// Runs one handler of a window, taking any error it throws.
using HandlerGuard = std::function<void(const char* handler, const std::function<void()>& body)>;

// The configuration window: the test URL in its edit box `urlset`, whose
// text is the test URL in use whether stored or not. It comes up in the
// dispatcher's language.
class TFrmConfig final : public QDialog, public TestUrlSource {
    Q_OBJECT
public:
    TFrmConfig(ConfigWindowLogic logic, HandlerGuard guard, i18n::TsiLangDispatcher* dispatcher,
               QWidget* parent = nullptr);

    void SetUrlsetText(const std::string& url);
    // From any thread: a read from another thread is handed to the window's
    // thread, which holds the only copy of the text.
    std::string CurrentTestUrl() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void CentreOnScreen();
    void FormShow();
    void AdvMetroButton1Click();
    void AdvMetroButton2Click();
    void AdvMetroButton3Click();

    ConfigWindowLogic logic_;
    HandlerGuard guard_;
    QLineEdit* urlset = nullptr;
    widgets::WindowTranslationTarget translationTarget_{*this, "TFrmConfig"};
    // Loaded once every control exists.
    std::optional<i18n::TsiLang> siLang1;
};

} // namespace settings
