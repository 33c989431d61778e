#pragma once

#include "switching/hand_over.h"

#include <QObject>

namespace app {

// Hand-overs as blocking queued calls into the user-interface thread, where
// this object lives.
class QtHandOver final : public QObject, public switching::HandOver {
    Q_OBJECT
public:
    using QObject::QObject;

    void Run(const std::function<void()>& work) override;
    void RunUntil(const std::function<bool()>& done) override;
};

} // namespace app
