#pragma once

#include <QObject>

class QSocketNotifier;

namespace app {

// Turns SIGTERM, SIGINT and SIGHUP into a signal on the event loop, so a
// program stopped by the system or by a closed terminal closes its window
// the ordinary way and switches the system proxy off.
class QuitSignals final : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested(int signalNumber);

private:
    void Drain();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace app
