#include "app/frm_main.h"

#include "app/hidden_web_browser.h"
#include "app/proxy_list_box.h"
#include "app/ui_guard.h"
#include "app/wait_cursor.h"
#include "settings/frm_config.h"
#include "widgets/controls.h"
#include "widgets/flat_button.h"
#include "widgets/fonts.h"
#include "widgets/picture_tile.h"
#include "widgets/pictures.h"
#include "widgets/smooth_label.h"
#include "widgets/toggle_switch.h"

#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTimer>

namespace app {

namespace {

// Controls that carry data but are never seen sit right of the client area.
constexpr int kHiddenLeft = 991;

class FixedLineHeight final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 13};
    }
};

// The system line's letters shrink down to this before a name is cut short.
constexpr int kSystemTextPixelHeight = 11;
constexpr int kSmallestSystemTextPixelHeight = 8;

int TextWidth(const widgets::TSmoothLabel& label, const QString& text)
{
    return QFontMetrics(label.font()).horizontalAdvance(text);
}

ProxyListBox* MakeListBox(proxylist::ProxyList& list, QWidget* parent, const char* name,
                          QRect geometry)
{
    auto* box = new ProxyListBox(list, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setItemDelegate(new FixedLineHeight(box));
    return box;
}

} // namespace

TFrmMain::TFrmMain(MainWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      logic_(std::move(services), *this)
{
    // From creation on, so that a report of FormCreate speaks its language.
    CrashReporter::SetStrings(&logic_.Strings());
    BuildControls();
    FormCreate();
}

TFrmMain::~TFrmMain()
{
    CrashReporter::SetStrings(nullptr);
    // Nothing may start a run once the window goes; the last run still
    // reaches the window while it returns.
    Timer1->stop();
    logic_.FormDestroy();
}

void TFrmMain::BuildControls()
{
    setObjectName("FrmMain");
    setWindowTitle(QStringLiteral("Kelbrin Hopvane"));
    setFixedSize(905, 534);
    setFont(widgets::UiFont(QStringLiteral("Tahoma"), 11));
    widgets::FillBackground(this, widgets::kWindowColour);

    QWidget* panel1 = widgets::MakePanel(this, "Panel1", {0, 0, 905, 121});
    auto* AdvMetroTile1 =
        new widgets::TPictureTile(widgets::PictureIcon(widgets::Picture::Logo), panel1);
    AdvMetroTile1->setObjectName("AdvMetroTile1");
    AdvMetroTile1->setGeometry(16, 15, 128, 90);
    connect(AdvMetroTile1, &QAbstractButton::clicked, this, &TFrmMain::AdvMetroTile1Click);
    widgets::MakeLabel(panel1, "txHopvane", QStringLiteral("Kelbrin Hopvane"), {166, 32}, 27);
    widgets::MakeLabel(panel1, "txHopvanesmalltext", QStringLiteral("Změna IP adresy pomocí proxy"),
                       {168, 67}, 16);
    systemtxt =
        widgets::MakeBoxLabel(panel1, "systemtxt", QStringLiteral("Current system: Windows 10"),
                              {697, 5, 197, 25}, kSystemTextPixelHeight, Qt::AlignRight);
    auto* btnConfig = new widgets::TFlatButton(widgets::PictureIcon(widgets::Picture::Settings),
                                               QStringLiteral("Nastavení"), panel1);
    btnConfig->setObjectName("btnConfig");
    btnConfig->setGeometry(839, 47, 57, 65);
    connect(btnConfig, &QAbstractButton::clicked, this, &TFrmMain::btnConfigClick);

    widgets::MakeLabel(this, "txProxyList", QStringLiteral("Proxy list:"), {16, 127}, 15);
    txProxyUpdate = widgets::MakeBoxLabel(this, "txProxyUpdate", QStringLiteral("(xx/xxxx)"),
                                          {166, 127, 78, 19}, 12, Qt::AlignRight);
    auto* btnRefresh =
        new widgets::TFlatButton(widgets::PictureIcon(widgets::Picture::Refresh), {}, this);
    btnRefresh->setObjectName("btnRefresh");
    btnRefresh->setGeometry(247, 127, 19, 19);
    connect(btnRefresh, &QAbstractButton::clicked, this, &TFrmMain::btnRefreshClick);
    ProxyListBox* proxys =
        MakeListBox(logic_.Store().Proxys(), this, "Proxys", {16, 152, 249, 357});
    connect(proxys, &QAbstractItemView::doubleClicked, this, &TFrmMain::ProxysDblClick);
    count = widgets::MakeBoxLabel(this, "count", QStringLiteral("Lines Count 0"),
                                  {16, 509, 247, 23}, 13, Qt::AlignRight);

    QWidget* panel3 = widgets::MakePanel(this, "Panel3", {296, 152, 369, 122});
    widgets::MakeLabel(panel3, "txOriginalIP", QStringLiteral("Původní IP:"), {17, 11}, 15);
    txtOriginalIP =
        widgets::MakeLabel(panel3, "txtOriginalIP", QStringLiteral("Zjišťuji"), {129, 11}, 15);
    widgets::MakeLabel(panel3, "txServerStatus", QStringLiteral("Aktuální stav:"), {17, 36}, 15);
    txtstatus = widgets::MakeLabel(panel3, "txtstatus", QStringLiteral("Zjišťuji"), {129, 36}, 15);
    connect(txtstatus, &widgets::TSmoothLabel::clicked, this, &TFrmMain::txtstatusClick);
    widgets::MakeLabel(panel3, "txDownloadTest", QStringLiteral("Download test:"), {17, 62}, 15);
    DownloadProgress = new QProgressBar(panel3);
    DownloadProgress->setObjectName("DownloadProgress");
    DownloadProgress->setGeometry(131, 67, 150, 15);
    DownloadProgress->setTextVisible(false);
    DownloadProgress->setValue(0);
    txtDwnSpeed =
        widgets::MakeLabel(panel3, "txtDwnSpeed", QStringLiteral("0 Kb/s"), {286, 62}, 15);
    widgets::MakeLabel(panel3, "txIPChanged", QStringLiteral("IP Změněna:"), {17, 87}, 15);
    txtChanged = widgets::MakeLabel(panel3, "txtChanged", QStringLiteral("Ne"), {129, 87}, 15);
    txtChanged->setUnderlined(true);
    txtChanged->setCursor(Qt::PointingHandCursor);
    connect(txtChanged, &widgets::TSmoothLabel::clicked, this, &TFrmMain::txtChangedClick);
    txState = widgets::MakeBoxLabel(panel3, "txState", {}, {176, 88, 177, 23}, 15, Qt::AlignLeft);

    QWidget* panel5 = widgets::MakePanel(this, "Panel5", {296, 296, 369, 113});
    widgets::MakeLabel(panel5, "AdvSmoothLabel14", QStringLiteral("Application API"), {277, 5}, 11);
    widgets::MakeLabel(panel5, "txMutexAppStatus", QStringLiteral("Mutex status aplikace:"),
                       {17, 34}, 15);
    txtMutex = widgets::MakeLabel(panel5, "txtMutex", QStringLiteral("Hopvane_OK"), {196, 34}, 15);
    widgets::MakeLabel(panel5, "txMutexHopvaneGoChange", QStringLiteral("Mutex Hopvane_go_change:"),
                       {17, 63}, 15);
    txtReadMutex =
        widgets::MakeLabel(panel5, "txtReadMutex", QStringLiteral("No detect"), {223, 63}, 15);

    QWidget* panel2 = widgets::MakePanel(this, "Panel2", {296, 432, 369, 77});
    widgets::MakeLabel(panel2, "txEnableHopvane", QStringLiteral("Zapnout změnu IP"), {25, 27}, 15);
    Switch = new widgets::TToggleSwitch(panel2);
    Switch->setObjectName("Switch");
    Switch->setGeometry(172, 28, 77, 22);
    connect(Switch, &QAbstractButton::clicked, this, &TFrmMain::SwitchClick);
    btnNextIP = new widgets::TFlatButton(widgets::PictureIcon(widgets::Picture::Next),
                                         QStringLiteral("Další IP"), panel2);
    btnNextIP->setObjectName("btnNextIP");
    btnNextIP->setGeometry(300, 13, 57, 53);
    btnNextIP->setEnabled(false);
    connect(btnNextIP, &QAbstractButton::clicked, this, &TFrmMain::btnNextIPClick);

    QWidget* panel4 = widgets::MakePanel(this, "Panel4", {696, 152, 193, 357});
    widgets::MakeLabel(panel4, "txIPBlacklist", QStringLiteral("IP blacklist:"), {17, 11}, 15);
    MakeListBox(logic_.Store().blacklist(), panel4, "blacklist", {22, 36, 155, 301});

    MakeListBox(logic_.Store().FileUpdateDate(), this, "FileUpdateDate", {kHiddenLeft, 8, 170, 50});
    MemoVer = new QPlainTextEdit(this);
    MemoVer->setObjectName("MemoVer");
    MemoVer->setGeometry(kHiddenLeft, 64, 88, 44);
    WebBrowserConnection = new THiddenWebBrowser("WebBrowserConnection", this);
    WebBrowserIP = new THiddenWebBrowser("WebBrowserIP", this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(88);
    connect(Timer1, &QTimer::timeout, this, &TFrmMain::Timer1Timer);
    Timer1->start();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    QAction* copy = PopupMenu1->addAction(QStringLiteral("Zkopírovat IP adresu do schránky"));
    copy->setObjectName("CopyIPtoclipboard1");
    connect(copy, &QAction::triggered, this, &TFrmMain::CopyIPtoclipboard1Click);
}

void TFrmMain::SetProxyUpdateText(const std::string& text)
{
    txProxyUpdate->setText(QString::fromStdString(text));
}

void TFrmMain::SetCountText(const std::string& text)
{
    count->setText(QString::fromStdString(text));
}

// The full name where it fits, else the shorter one in letters as large as
// fit, cut short only below the smallest.
void TFrmMain::SetSystemText(const std::string& text, const std::string& shorterText)
{
    const QString full = QString::fromStdString(text);
    systemtxt->setPixelHeight(kSystemTextPixelHeight);
    const QString shown = TextWidth(*systemtxt, full) <= systemtxt->width()
                              ? full
                              : QString::fromStdString(shorterText);
    for (int pixels = kSystemTextPixelHeight; pixels > kSmallestSystemTextPixelHeight &&
                                              TextWidth(*systemtxt, shown) > systemtxt->width();)
        systemtxt->setPixelHeight(--pixels);
    systemtxt->setText(
        QFontMetrics(systemtxt->font()).elidedText(shown, Qt::ElideRight, systemtxt->width()));
    systemtxt->setToolTip(full);
}

void TFrmMain::SetMutexText(const std::string& text)
{
    txtMutex->setText(QString::fromStdString(text));
}

void TFrmMain::SetChangedText(const std::string& text)
{
    txtChanged->setText(QString::fromStdString(text));
}

void TFrmMain::SetOriginalIPText(const std::string& text)
{
    txtOriginalIP->setText(QString::fromStdString(text));
}

void TFrmMain::SetStatusText(const std::string& text)
{
    txtstatus->setText(QString::fromStdString(text));
}

void TFrmMain::SetMemoVerText(const std::string& text)
{
    MemoVer->setPlainText(QString::fromStdString(text));
}

void TFrmMain::Navigate(HiddenBrowser browser, const std::string& url)
{
    THiddenWebBrowser* control =
        browser == HiddenBrowser::WebBrowserConnection ? WebBrowserConnection : WebBrowserIP;
    control->Navigate(QString::fromStdString(url));
}

void TFrmMain::SetGeoText(const std::string& text)
{
    txState->setText(QString::fromStdString(text));
}

void TFrmMain::SetSpeedText(const std::string& text)
{
    txtDwnSpeed->setText(QString::fromStdString(text));
}

void TFrmMain::SetProgress(std::int32_t maximum, std::int32_t position)
{
    DownloadProgress->setMaximum(maximum);
    DownloadProgress->setValue(position);
}

void TFrmMain::ResetProgress()
{
    DownloadProgress->setValue(0);
}

void TFrmMain::SetReadMutexText(const std::string& text)
{
    txtReadMutex->setText(QString::fromStdString(text));
}

void TFrmMain::SetNextIPEnabled(bool enabled)
{
    btnNextIP->setEnabled(enabled);
}

void TFrmMain::TurnSwitch(bool on)
{
    if (Switch->isChecked() != on)
        Switch->click();
}

void TFrmMain::SetTestUrl(const std::string& url)
{
    if (config_)
        config_->SetUrlsetText(url);
}

std::string TFrmMain::TestUrl()
{
    return config_ ? config_->CurrentTestUrl() : std::string();
}

void TFrmMain::ShowMessage(const std::string& text, const std::string& title)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

bool TFrmMain::AskYesNo(const std::string& text, const std::string& title)
{
    // It belongs to no window, so the main window stays usable meanwhile.
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No);
    box.setObjectName("UpdateQuestion");
    // In the program's language, not the system's.
    const i18n::Localisation& strings = logic_.Strings();
    box.button(QMessageBox::Yes)
        ->setText(QString::fromStdString(strings.GetTextOrDefault("IDS_40")));
    box.button(QMessageBox::No)
        ->setText(QString::fromStdString(strings.GetTextOrDefault("IDS_45")));
    box.setWindowModality(Qt::NonModal);
    QEventLoop answered;
    connect(&box, &QMessageBox::finished, &answered, &QEventLoop::quit);
    box.show();
    answered.exec();
    return box.result() == QMessageBox::Yes;
}

void TFrmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the taskbar is not shown anew.
    if (event->spontaneous() || shown_)
        return;
    shown_ = true;
    FormShow();
}

void TFrmMain::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Right after the painting: a question box opened while painting would
    // never get painted itself.
    QMetaObject::invokeMethod(this, &TFrmMain::FormPaint, Qt::QueuedConnection);
}

void TFrmMain::closeEvent(QCloseEvent* event)
{
    FormCloseQuery();
    event->accept();
}

void TFrmMain::FormCreate()
{
    Guarded("FormCreate", [this] { logic_.FormCreate(); });
}

void TFrmMain::FormShow()
{
    Guarded("FormShow", [this] { logic_.FormShow(); });
}

void TFrmMain::FormPaint()
{
    Guarded("FormPaint", [this] { logic_.FormPaint(); });
}

void TFrmMain::FormCloseQuery()
{
    Guarded("FormCloseQuery", [this] { logic_.FormCloseQuery(); });
}

void TFrmMain::txtstatusClick()
{
    Guarded("txtstatusClick", [this] { PopupMenu1->popup(QCursor::pos()); });
}

void TFrmMain::CopyIPtoclipboard1Click()
{
    Guarded("CopyIPtoclipboard1Click", [this] { logic_.CopyIPtoclipboard1Click(); });
}

void TFrmMain::AdvMetroTile1Click()
{
    Guarded("AdvMetroTile1Click", [this] { logic_.AdvMetroTile1Click(); });
}

void TFrmMain::txtChangedClick()
{
    Guarded("txtChangedClick", [this] { logic_.txtChangedClick(); });
}

void TFrmMain::btnRefreshClick()
{
    Guarded("btnRefreshClick", [this] {
        const WaitCursor wait;
        logic_.btnRefreshClick();
    });
}

void TFrmMain::SwitchClick()
{
    Guarded("SwitchClick", [this] { logic_.SwitchClick(Switch->isChecked()); });
}

void TFrmMain::btnNextIPClick()
{
    Guarded("btnNextIPClick", [this] { logic_.btnNextIPClick(); });
}

void TFrmMain::ProxysDblClick()
{
    Guarded("ProxysDblClick", [this] { logic_.ProxysDblClick(); });
}

void TFrmMain::Timer1Timer()
{
    Guarded("Timer1Timer", [this] { logic_.Timer1Timer(); });
}

void TFrmMain::btnConfigClick()
{
    Guarded("btnConfigClick", [this] {
        if (config_)
            config_->exec();
    });
}

} // namespace app
