#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace varnow::platform {

// Turns Ctrl-C (SIGINT) and SIGTERM into a call on the event loop, so that a command can
// close the board's port and say what state it left the board in. One watch at a time.
class InterruptWatch : public QObject {
public:
    explicit InterruptWatch(std::function<void()> interrupted);
    ~InterruptWatch() override;
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

private:
    std::function<void()> m_interrupted;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace varnow::platform
