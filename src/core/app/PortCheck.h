#pragma once

#include <functional>

#include "session/BoardLink.h"

namespace varnow {

// Follows the board's port as it is unplugged and plugged in again: the connection is closed
// when the remembered port vanishes, and made again when it comes back.
class PortCheck {
public:
    PortCheck(BoardLink& link, std::function<void()> connect)
        : m_link(link), m_connect(std::move(connect)) {}

    void OnDeviceArrival();
    void OnDeviceRemoval();
    void OnResume();
    // While a restarted board is awaited: connects when its port is back, whatever the
    // notifications said (a path that no notification covers).
    void ConnectIfBack();

private:
    void Check();

    BoardLink& m_link;
    std::function<void()> m_connect;
};

}  // namespace varnow
