#include "app/startup.h"

#include "app/app_title.h"
#include "app/ui_guard.h"
#include "platform/environment.h"
#include "platform/named_mutexes.h"
#include "platform/proxy_settings.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_version.h"
#include "switching/service_probes.h"
#include "sysproxy/stale_proxy.h"

#include <QGuiApplication>
#include <QScreen>

namespace app {

Startup::Startup() : proxyOwner_(platform::SystemNamedMutexes())
{
    const std::string executable = platform::ExecutablePath();
    const std::string title = ApplicationTitle(executable);
    const std::string systemName = platform::GetWindowsName();
    CrashReporter::Configure(
        {title, HOPVANE_VERSION, systemName, platform::DataFolder(), executable});

    sysproxy::ClearStaleProxy(platform::DataFolder(), platform::SystemProxySettingsStores(),
                              platform::SystemNamedMutexes(), proxyOwner_.Name());

    const net::ServiceEndpoints& endpoints = net::ServiceEndpoints::Built();
    main_ = std::make_unique<TFrmMain>(MainWindowServices{
        platform::CurrentUserRegistry(), platform::SystemNamedMutexes(),
        platform::SystemProxySettingsStores(), platform::SystemShell(), clipboard_, handOver_,
        settings::ExecutableTestUrlStore(), endpoints, switching::ServiceCheckProbes(endpoints),
        platform::DataFolder(), systemName, platform::GetBriefSystemName(),
        platform::WarnsNotWindows10(systemName), title, proxyOwner_.Name()});
    CrashReporter::SetMainWindow(main_.get());
    config_ = std::make_unique<settings::TFrmConfig>(
        settings::ConfigWindowLogic(settings::ExecutableTestUrlStore()), Guarded,
        &main_->Logic().Dispatcher(), main_.get());
    main_->SetConfigWindow(config_.get());

#ifndef _WIN32
    QObject::connect(&quitSignals_, &QuitSignals::quitRequested, main_.get(), [this] { Quit(); });
#endif
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
