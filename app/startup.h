#pragma once

#include "app/frm_main.h"
#include "app/qt_clipboard.h"
#include "app/quit_signals.h"
#include "settings/frm_config.h"

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
    // False when a report during start-up asked to close the program: the
    // main window has then closed without being shown.
    bool ShowMain();

private:
    QtClipboard clipboard_;
    std::unique_ptr<TFrmMain> main_;
    std::unique_ptr<settings::TFrmConfig> config_;
    QuitSignals quitSignals_;
};

} // namespace app
