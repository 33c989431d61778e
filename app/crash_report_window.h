#pragma once

#include "app/bug_report.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace i18n {
class Localisation;
}

namespace app {

// Shows an error that escaped a handler and lets the user decide how the
// program goes on.
class TFrmCrashReport final : public QDialog {
    Q_OBJECT
public:
    enum class Choice { Continue, Restart, Close };

    // The buttons read in the active language of the strings, if any, else
    // in English.
    TFrmCrashReport(const BugReport& report, const std::string& reportText,
                    const i18n::Localisation* strings, QWidget* parent);

    Choice choice() const { return choice_; }

signals:
    void sendRequested();

private:
    void Finish(Choice choice);

    Choice choice_ = Choice::Continue;
    QPlainTextEdit* details_ = nullptr;
};

} // namespace app
