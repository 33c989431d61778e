#include "app/qt_hand_over.h"

#include "app/wait_cursor.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <exception>

namespace app {

namespace {

// Keeps the user's clicks and keys from every window for its lifetime.
// Qt's own exclusion of user input would also hold back the window system's
// close, which must hide the window at once however long the wait.
class UserInputBlock final : public QObject {
public:
    UserInputBlock() { QCoreApplication::instance()->installEventFilter(this); }
    ~UserInputBlock() override { QCoreApplication::instance()->removeEventFilter(this); }
    UserInputBlock(const UserInputBlock&) = delete;
    UserInputBlock& operator=(const UserInputBlock&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

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
    // The window does not respond meanwhile, and says so.
    const UserInputBlock block;
    const WaitCursor wait;
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace app
