#include "app/qt_hand_over.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <exception>

namespace app {

void QtHandOver::Run(const std::function<void()>& work)
{
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        this,
        [&] {
            try {
                work();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}

void QtHandOver::RunUntil(const std::function<bool()>& done)
{
    // The user's clicks and keys wait: the window does not respond meanwhile.
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                        QEventLoop::ExcludeUserInputEvents);
}

} // namespace app
