#pragma once

#include "app/bug_report.h"

#include <functional>
#include <string>

class QWidget;

namespace i18n {
class Localisation;
}

namespace app {

// Where an error that escapes a window's handler goes: it is appended to
// "bugreport.txt", shown in the report window, and the user's choice is
// carried out. Nothing thrown reaches Qt's event loop.
class CrashReporter {
public:
    enum class Choice { Continue, Restart, Close };
    using Presenter = std::function<Choice(const BugReport&, const std::string& reportText)>;

    struct Setup {
        std::string applicationTitle;
        std::string version;
        std::string system;
        std::string dataFolder;
        std::string executablePath;
    };

    static void Configure(Setup setup);
    // The window that Restart and Close close the ordinary way.
    static void SetMainWindow(QWidget* window);
    // The string table whose active language the report window speaks; in
    // English without one.
    static void SetStrings(const i18n::Localisation* strings);
    // Tests answer the report themselves instead of a modal window.
    static void SetPresenter(Presenter presenter);

    static void Report(const char* handler, const std::string& errorClass,
                       const std::string& message);
    // Whether the user chose to close or restart the program from a report.
    static bool CloseRequested();
};

// Runs a handler of a window; every handler of the program runs through it.
void Guarded(const char* handler, const std::function<void()>& body);

} // namespace app
