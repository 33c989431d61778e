#include "app/startup.h"
#include "app/ui_guard.h"
#include "widgets/pictures.h"

#include <QApplication>

namespace {

// Nothing a handler throws may unwind through Qt; this catches what slipped
// past the handlers' own guard.
class HopvaneApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        bool handled = false;
        app::Guarded("event", [&] { handled = QApplication::notify(receiver, event); });
        return handled;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    HopvaneApplication application(argc, argv);
    application.setWindowIcon(widgets::PictureIcon(widgets::Picture::Logo));
    app::Startup startup;
    if (!startup.ShowMain())
        return 0;
    return application.exec();
}
