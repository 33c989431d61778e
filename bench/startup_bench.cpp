// Starts the program's windows as main() does and prints, on the first
// painting of the main window, the milliseconds since main() began and the
// peak resident memory so far.

#include "app/startup.h"

#include <sys/resource.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace {

class FirstPaint final : public QObject {
public:
    explicit FirstPaint(std::chrono::steady_clock::time_point start) : start_(start) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            const auto elapsed = std::chrono::steady_clock::now() - start_;
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("first_paint_ms %.1f\npeak_rss_kib %ld\n",
                        std::chrono::duration<double, std::milli>(elapsed).count(),
                        usage.ru_maxrss);
            std::fflush(stdout);
            QTimer::singleShot(0, qobject_cast<QWidget*>(watched), &QWidget::close);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::chrono::steady_clock::time_point start_;
    bool seen_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    const auto start = std::chrono::steady_clock::now();
    QApplication application(argc, argv);
    app::Startup startup;
    FirstPaint firstPaint(start);
    startup.Main().installEventFilter(&firstPaint);
    startup.ShowMain();
    return application.exec();
}
