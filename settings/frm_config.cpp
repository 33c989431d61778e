#include "settings/frm_config.h"

#include "i18n/window_translations.h"
#include "settings/default_test_urls.h"
#include "widgets/controls.h"
#include "widgets/flat_button.h"
#include "widgets/fonts.h"
#include "widgets/picture_tile.h"
#include "widgets/pictures.h"
#include "widgets/smooth_label.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QThread>

namespace settings {

namespace {

widgets::TFlatButton* MakeButton(QWidget* parent, const char* name, widgets::Picture picture,
                                 const QString& caption, QRect geometry)
{
    auto* button = new widgets::TFlatButton(widgets::PictureIcon(picture), caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

TFrmConfig::TFrmConfig(ConfigWindowLogic logic, HandlerGuard guard,
                       i18n::TsiLangDispatcher* dispatcher, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      logic_(std::move(logic)), guard_(std::move(guard))
{
    BuildControls();
    siLang1.emplace(translationTarget_, i18n::FrmConfigTranslations(SecureDefaultTestUrl()),
                    dispatcher);
}

void TFrmConfig::BuildControls()
{
    setObjectName("FrmConfig");
    setWindowTitle(QStringLiteral("Nastavení"));
    setFixedSize(658, 390);
    setModal(true);
    setFont(widgets::UiFont(QStringLiteral("Tahoma"), 11));
    widgets::FillBackground(this, widgets::kWindowColour);

    QWidget* panel1 = widgets::MakePanel(this, "Panel1", {0, 0, 658, 121});
    auto* tile = new widgets::TPictureTile(widgets::PictureIcon(widgets::Picture::Logo), panel1);
    tile->setObjectName("AdvMetroTile1");
    tile->setGeometry(16, 15, 128, 90);
    tile->setEnabled(false);
    widgets::MakeLabel(panel1, "AdvSmoothLabel1", QStringLiteral("Hopvane"), {166, 32}, 27);
    widgets::MakeLabel(panel1, "txCaonfiguration", QStringLiteral("Nastavení"), {171, 67}, 16);

    QWidget* panel5 = widgets::MakePanel(this, "Panel5", {16, 139, 625, 174});
    widgets::MakeLabel(panel5, "txUrlToTest", QStringLiteral("URL pro test připojení:"), {17, 22},
                       15);
    urlset = new QLineEdit(QString::fromStdString(SecureDefaultTestUrl()), panel5);
    urlset->setObjectName("urlset");
    urlset->setGeometry(191, 24, 402, 21);
    auto* reset =
        MakeButton(panel5, "AdvMetroButton3", widgets::Picture::Reset, {}, {587, 22, 25, 24});
    connect(reset, &QAbstractButton::clicked, this, &TFrmConfig::AdvMetroButton3Click);
    widgets::MakeLabel(
        panel5, "txNotification",
        QStringLiteral("* např. Google blokuje proxy servery, zvolte tak nějaký nezávislý "
                       "server a ideálně stránku s co nejmenší velikostí (v kb)"),
        {31, 51}, 11);

    auto* apply = MakeButton(this, "AdvMetroButton1", widgets::Picture::Apply,
                             QStringLiteral("Použít"), {552, 319, 89, 63});
    connect(apply, &QAbstractButton::clicked, this, &TFrmConfig::AdvMetroButton1Click);
    auto* cancel = MakeButton(this, "AdvMetroButton2", widgets::Picture::Cancel,
                              QStringLiteral("Storno"), {457, 319, 89, 63});
    connect(cancel, &QAbstractButton::clicked, this, &TFrmConfig::AdvMetroButton2Click);

    setTabOrder(urlset, reset);
    setTabOrder(reset, apply);
    setTabOrder(apply, cancel);
}

void TFrmConfig::SetUrlsetText(const std::string& url)
{
    urlset->setText(QString::fromStdString(url));
}

std::string TFrmConfig::CurrentTestUrl()
{
    if (QThread::currentThread() == thread())
        return urlset->text().toStdString();
    std::string url;
    QMetaObject::invokeMethod(
        this, [this, &url] { url = urlset->text().toStdString(); }, Qt::BlockingQueuedConnection);
    return url;
}

void TFrmConfig::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    CentreOnScreen();
    FormShow();
}

// QDialog centres on its parent; this window belongs in the middle of the
// screen the main window is on, wherever that window stands.
void TFrmConfig::CentreOnScreen()
{
    const QWidget* host = parentWidget() ? parentWidget() : this;
    QRect frame = frameGeometry();
    frame.moveCenter(host->screen()->availableGeometry().center());
    move(frame.topLeft());
}

// No key closes the window: neither Enter nor Escape is bound to a button.
void TFrmConfig::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmConfig::FormShow()
{
    guard_("FormShow", [this] { SetUrlsetText(logic_.FormShow()); });
}

void TFrmConfig::AdvMetroButton1Click()
{
    guard_("AdvMetroButton1Click", [this] {
        logic_.AdvMetroButton1Click(urlset->text().toStdString());
        accept();
    });
}

void TFrmConfig::AdvMetroButton2Click()
{
    guard_("AdvMetroButton2Click", [this] {
        SetUrlsetText(logic_.AdvMetroButton2Click());
        reject();
    });
}

void TFrmConfig::AdvMetroButton3Click()
{
    guard_("AdvMetroButton3Click", [this] { SetUrlsetText(logic_.AdvMetroButton3Click()); });
}

} // namespace settings
