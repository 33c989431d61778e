#include "app/ui_guard.h"

#include "app/crash_report_window.h"
#include "hopvane/build_config.h"
#include "platform/shell.h"

#include <cxxabi.h>

#include <QDateTime>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <exception>
#include <memory>
#include <typeinfo>

namespace app {

namespace {

struct ReporterState {
    CrashReporter::Setup setup;
    QWidget* mainWindow = nullptr;
    const i18n::Localisation* strings = nullptr;
    CrashReporter::Presenter presenter;
    bool closeRequested = false;
};

ReporterState& State()
{
    static ReporterState state;
    return state;
}

std::string TypeName(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

void SendByMail(const BugReport& report, const std::string& text)
{
    QUrl url(QStringLiteral("mailto:") + QStringLiteral(HOPVANE_BUG_REPORT_ADDRESS));
    const QString query = QStringLiteral("subject=") +
                          QString::fromUtf8(QUrl::toPercentEncoding(
                              QString::fromStdString(report.applicationTitle + " error report"))) +
                          QStringLiteral("&body=") +
                          QString::fromUtf8(QUrl::toPercentEncoding(QString::fromStdString(text)));
    url.setQuery(query, QUrl::StrictMode);
    platform::SystemShell().OpenUrl(url.toString(QUrl::FullyEncoded).toStdString());
}

CrashReporter::Choice PresentInWindow(const BugReport& report, const std::string& text)
{
    TFrmCrashReport window(report, text, State().strings, State().mainWindow);
    QObject::connect(&window, &TFrmCrashReport::sendRequested,
                     [&report, &text] { SendByMail(report, text); });
    window.exec();
    switch (window.choice()) {
    case TFrmCrashReport::Choice::Restart:
        return CrashReporter::Choice::Restart;
    case TFrmCrashReport::Choice::Close:
        return CrashReporter::Choice::Close;
    case TFrmCrashReport::Choice::Continue:
        break;
    }
    return CrashReporter::Choice::Continue;
}

// A window on the screen closes once the event loop runs, as the report may
// have come from its own handler. One not shown yet is never shown: the
// start-up sees the request and closes it.
void CloseMainWindow()
{
    State().closeRequested = true;
    QWidget* window = State().mainWindow;
    if (window && window->isVisible())
        QTimer::singleShot(0, window, &QWidget::close);
}

} // namespace

void CrashReporter::Configure(Setup setup)
{
    State().setup = std::move(setup);
    State().closeRequested = false;
}

bool CrashReporter::CloseRequested()
{
    return State().closeRequested;
}

void CrashReporter::SetMainWindow(QWidget* window)
{
    State().mainWindow = window;
}

void CrashReporter::SetStrings(const i18n::Localisation* strings)
{
    State().strings = strings;
}

void CrashReporter::SetPresenter(Presenter presenter)
{
    State().presenter = std::move(presenter);
}

void CrashReporter::Report(const char* handler, const std::string& errorClass,
                           const std::string& message)
{
    const Setup& setup = State().setup;
    BugReport report{
        setup.applicationTitle,
        setup.version,
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString(),
        setup.system,
        handler,
        errorClass,
        message};
    std::string text = FormatBugReport(report);
    try {
        AppendBugReport(setup.dataFolder, report);
    } catch (const std::exception& error) {
        text += std::string("The report could not be saved: ") + error.what() + "\r\n";
    }

    const Choice choice =
        State().presenter ? State().presenter(report, text) : PresentInWindow(report, text);
    if (choice == Choice::Restart)
        QProcess::startDetached(QString::fromStdString(setup.executablePath), {});
    if (choice != Choice::Continue)
        CloseMainWindow();
}

void Guarded(const char* handler, const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception& error) {
        CrashReporter::Report(handler, TypeName(typeid(error)), error.what());
    } catch (...) {
        CrashReporter::Report(handler, "unknown", "An error of an unknown kind occurred.");
    }
}

} // namespace app
