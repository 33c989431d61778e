#pragma once

#include "app/main_view.h"
#include "app/main_window_logic.h"
#include "widgets/window_translation_target.h"

#include <QWidget>

class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QTimer;

namespace settings {
class TFrmConfig;
}
namespace widgets {
class TFlatButton;
class TSmoothLabel;
class TToggleSwitch;
} // namespace widgets

namespace app {

class ProxyListBox;
class THiddenWebBrowser;

// The main window. Its handlers are thin: each runs the logic of the same
// name through the guard and shows what the logic reports.
class TFrmMain final : public QWidget, public MainView {
    Q_OBJECT
public:
    // Builds the controls and runs FormCreate.
    explicit TFrmMain(MainWindowServices services, QWidget* parent = nullptr);
    ~TFrmMain() override;

    void SetConfigWindow(settings::TFrmConfig* config) { config_ = config; }
    MainWindowLogic& Logic() { return logic_; }

    // MainView
    void SetProxyUpdateText(const std::string& text) override;
    void SetCountText(const std::string& text) override;
    void SetSystemText(const std::string& text, const std::string& shorterText) override;
    void SetMutexText(const std::string& text) override;
    void SetChangedText(const std::string& text) override;
    void SetOriginalIPText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void SetMemoVerText(const std::string& text) override;
    void SetGeoText(const std::string& text) override;
    void SetSpeedText(const std::string& text) override;
    void SetProgress(std::int32_t maximum, std::int32_t position) override;
    void ResetProgress() override;
    void SetReadMutexText(const std::string& text) override;
    void SetNextIPEnabled(bool enabled) override;
    void TurnSwitch(bool on) override;
    void SetTestUrl(const std::string& url) override;
    std::string TestUrl() override;
    void Navigate(HiddenBrowser browser, const std::string& url) override;
    void ShowMessage(const std::string& text, const std::string& title) override;
    bool AskYesNo(const std::string& text, const std::string& title) override;
    i18n::TranslatableWindow& TranslationTarget() override { return translationTarget_; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();

    void FormCreate();
    void FormShow();
    void FormPaint();
    void FormCloseQuery();
    void txtstatusClick();
    void CopyIPtoclipboard1Click();
    void AdvMetroTile1Click();
    void txtChangedClick();
    void btnConfigClick();
    void btnRefreshClick();
    void SwitchClick();
    void btnNextIPClick();
    void ProxysDblClick();
    void Timer1Timer();

    // Before the logic, which loads the window's translations over it.
    widgets::WindowTranslationTarget translationTarget_{*this, "TFrmMain"};
    MainWindowLogic logic_;
    settings::TFrmConfig* config_ = nullptr;
    bool shown_ = false;

    widgets::TSmoothLabel* txProxyUpdate = nullptr;
    widgets::TSmoothLabel* count = nullptr;
    widgets::TSmoothLabel* systemtxt = nullptr;
    widgets::TSmoothLabel* txtOriginalIP = nullptr;
    widgets::TSmoothLabel* txtstatus = nullptr;
    widgets::TSmoothLabel* txtChanged = nullptr;
    widgets::TSmoothLabel* txtMutex = nullptr;
    widgets::TSmoothLabel* txtDwnSpeed = nullptr;
    widgets::TSmoothLabel* txState = nullptr;
    widgets::TSmoothLabel* txtReadMutex = nullptr;
    QProgressBar* DownloadProgress = nullptr;
    QTimer* Timer1 = nullptr;
    widgets::TFlatButton* btnNextIP = nullptr;
    widgets::TToggleSwitch* Switch = nullptr;
    QPlainTextEdit* MemoVer = nullptr;
    THiddenWebBrowser* WebBrowserConnection = nullptr;
    THiddenWebBrowser* WebBrowserIP = nullptr;
    QMenu* PopupMenu1 = nullptr;
};

} // namespace app
