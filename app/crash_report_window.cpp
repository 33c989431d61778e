#include "app/crash_report_window.h"

#include "i18n/localisation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {

// The text of the string ID in the active language; without strings, the
// English one.
QString Caption(const i18n::Localisation* strings, const char* id, const char* english)
{
    return strings ? QString::fromStdString(strings->GetTextOrDefault(id))
                   : QString::fromUtf8(english);
}

} // namespace

TFrmCrashReport::TFrmCrashReport(const BugReport& report, const std::string& reportText,
                                 const i18n::Localisation* strings, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("FrmCrashReport");
    setWindowTitle(QString::fromStdString(report.applicationTitle));
    setModal(true);

    auto* message = new QLabel(QString::fromStdString(report.message), this);
    message->setObjectName("txMessage");
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    details_ = new QPlainTextEdit(QString::fromStdString(reportText), this);
    details_->setObjectName("details");
    details_->setReadOnly(true);
    details_->setVisible(false);

    auto* showDetails = new QPushButton(Caption(strings, "strsReportDetails", "Details"), this);
    showDetails->setObjectName("btnDetails");
    showDetails->setCheckable(true);
    connect(showDetails, &QPushButton::toggled, details_, &QWidget::setVisible);

    auto* send = new QPushButton(Caption(strings, "strsReportSend", "Send report"), this);
    send->setObjectName("btnSend");
    connect(send, &QPushButton::clicked, this, &TFrmCrashReport::sendRequested);

    auto* continueButton =
        new QPushButton(Caption(strings, "strsReportContinue", "Continue"), this);
    continueButton->setObjectName("btnContinue");
    continueButton->setDefault(true);
    connect(continueButton, &QPushButton::clicked, this, [this] { Finish(Choice::Continue); });

    auto* restart = new QPushButton(Caption(strings, "strsReportRestart", "Restart"), this);
    restart->setObjectName("btnRestart");
    connect(restart, &QPushButton::clicked, this, [this] { Finish(Choice::Restart); });

    auto* close = new QPushButton(Caption(strings, "strsReportClose", "Close"), this);
    close->setObjectName("btnClose");
    connect(close, &QPushButton::clicked, this, [this] { Finish(Choice::Close); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showDetails);
    buttons->addWidget(send);
    buttons->addStretch();
    buttons->addWidget(continueButton);
    buttons->addWidget(restart);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(details_, 1);
    layout->addLayout(buttons);
    resize(520, 160);
}

void TFrmCrashReport::Finish(Choice choice)
{
    choice_ = choice;
    accept();
}

} // namespace app
