#include "app/startup.h"

#include "app/app_title.h"
#include "app/ui_guard.h"
#include "platform/environment.h"
#include "platform/internet_settings.h"
#include "platform/named_mutexes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_version.h"
#include "switching/service_probes.h"
#include "sysproxy/applied_proxy_record.h"

#include <QGuiApplication>
#include <QScreen>

namespace app {

Startup::Startup()
{
    const std::string executable = platform::ExecutablePath();
    const std::string title = ApplicationTitle(executable);
    const std::string systemName = platform::GetWindowsName();
    CrashReporter::Configure(
        {title, HOPVANE_VERSION, systemName, platform::DataFolder(), executable});

    // Before this run holds a status name, which would hide whether another
    // copy owns the proxy that an earlier run may have left on.
    sysproxy::ClearStaleProxy(platform::DataFolder(), platform::CurrentUserRegistry(),
                              platform::SystemInternetSettings(), platform::SystemNamedMutexes());

    const net::ServiceEndpoints& endpoints = net::ServiceEndpoints::Built();
    main_ = std::make_unique<TFrmMain>(MainWindowServices{
        platform::CurrentUserRegistry(), platform::SystemNamedMutexes(),
        platform::SystemInternetSettings(), platform::SystemShell(), clipboard_, handOver_,
        settings::ExecutableTestUrlStore(), endpoints, switching::ServiceCheckProbes(endpoints),
        platform::DataFolder(), systemName, platform::GetBriefSystemName(),
        platform::WarnsNotWindows10(systemName), title});
    CrashReporter::SetMainWindow(main_.get());
    config_ = std::make_unique<settings::TFrmConfig>(
        settings::ConfigWindowLogic(settings::ExecutableTestUrlStore()), Guarded,
        &main_->Logic().Dispatcher(), main_.get());
    main_->SetConfigWindow(config_.get());

    QObject::connect(&quitSignals_, &QuitSignals::quitRequested, main_.get(), [this] { Quit(); });
    // Logging out ends the program the same way as closing its window.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, main_.get(), [this] { Quit(); });
}

void Startup::Quit()
{
    quitting_ = true;
    main_->close();
    // Also ends the event loop of a report or a question box that is open.
    QCoreApplication::exit(0);
}

Startup::~Startup()
{
    CrashReporter::SetMainWindow(nullptr);
}

bool Startup::ShowMain()
{
    // The user chose to close or restart from a report while the windows were
    // being made: the program closes the ordinary way without showing them.
    if (CrashReporter::CloseRequested()) {
        main_->close();
        return false;
    }
    if (const QScreen* screen = main_->screen())
        main_->move(screen->availableGeometry().center() - main_->rect().center());
    main_->show();
    // The system may have asked the program to end while the first showing
    // waited for the service or for the user.
    return !quitting_;
}

} // namespace app
