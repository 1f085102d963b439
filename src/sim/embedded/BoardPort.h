#pragma once

#include <memory>
#include <string>

#include "EmbeddedBoard.h"
#include "QtPlatform.h"
#include "QtSerialPort.h"

namespace varnow::sim {

// The port a program talks to the board through: the board's own serial port, or a simulated
// board inside the program (--simulate). Attach() wires its arrivals, and the embedded board's
// restarts, to the platform.
class BoardPort {
public:
    explicit BoardPort(bool simulated);

    SerialPort& port();
    // Absent, free or in use; our own open handle counts as in use.
    PortProbe Probe(const std::string& name);
    void Attach(platform::QtPlatform& platform);
    EmbeddedBoard* embedded() { return m_embedded.get(); }

private:
    std::unique_ptr<EmbeddedBoard> m_embedded;
    std::unique_ptr<platform::QtSerialPort> m_serialPort;
};

}  // namespace varnow::sim
