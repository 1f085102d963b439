#pragma once

#include <functional>

#include "session/BoardLink.h"

namespace varnow {

// Follows the board's port as it is unplugged and plugged in again: the connection is closed
// when the remembered port vanishes, and made again when it comes back.
class PortCheck {
public:
    // `connect` makes the connection again; `lost` hears that the board's port vanished.
    PortCheck(BoardLink& link, std::function<void()> connect, std::function<void()> lost)
        : m_link(link), m_connect(std::move(connect)), m_lost(std::move(lost)) {}

    void OnDeviceArrival();
    void OnDeviceRemoval();
    void OnResume();
    // The open port failed for good (its device went while it was held).
    void OnPortFailed();
    // While a restarted board is awaited: connects when its port is back, whatever the
    // notifications said (a path that no notification covers).
    void ConnectIfBack();

private:
    void Check();
    // The board's port is gone: the connection closes and whatever waited on it ends.
    void Lost();

    BoardLink& m_link;
    std::function<void()> m_connect;
    std::function<void()> m_lost;
};

}  // namespace varnow
