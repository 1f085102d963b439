#pragma once

namespace varnow {

class Writer;

// Follows the board's port as it is unplugged and plugged in again: the connection is closed
// when the remembered port vanishes, and made again when it comes back.
class PortCheck {
public:
    explicit PortCheck(Writer& writer) : m_writer(writer) {}

    void OnDeviceArrival();
    void OnDeviceRemoval();
    void OnResume();

private:
    void Check();

    Writer& m_writer;
};

}  // namespace varnow
