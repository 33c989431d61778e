#pragma once

#include "app/frm_main.h"
#include "app/qt_clipboard.h"
#include "app/qt_hand_over.h"
#ifndef _WIN32
#include "app/quit_signals.h"
#endif
#include "settings/frm_config.h"
#include "sysproxy/proxy_owner.h"

#include <memory>

namespace app {

// The program's start-up: the main window (which runs FormCreate), then the
// hidden configuration window, on the system's own services, and the ways
// the system can ask the program to close. Needs the QApplication.
class Startup {
public:
    Startup();
    ~Startup();

    TFrmMain& Main() { return *main_; }
    // Centres the main window on its screen and shows it, which runs FormShow.
    // False when the program is to end at once: a report during creation
    // asked to close it (the window then closed without being shown), or the
    // system asked it to end while it was being shown.
    bool ShowMain();

private:
    // Closes the main window the ordinary way and ends every event loop.
    void Quit();

    // Held from before the stale-proxy check to the end, so that no other
    // copy takes a proxy this one applies for stale.
    sysproxy::ProxyOwner proxyOwner_;
    QtClipboard clipboard_;
    QtHandOver handOver_;
    std::unique_ptr<TFrmMain> main_;
    std::unique_ptr<settings::TFrmConfig> config_;
#ifndef _WIN32
    // A windowed program on Windows gets no signals: it is stopped through
    // the end of the session, which the constructor handles everywhere.
    QuitSignals quitSignals_;
#endif
    bool quitting_ = false;
};

} // namespace app
