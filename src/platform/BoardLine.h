#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PortDiscovery.h"
#include "link/Platform.h"

namespace varnow::platform {

// Where a program meets its boards: the serial port it opens, the probe of port names, the
// list of board ports, and the notices of bytes arriving and of board devices coming and
// going. The machine's own serial ports by default (MakeSerialLine), or a stand-in.
class BoardLine {
public:
    virtual ~BoardLine() = default;
    virtual SerialPort& Port() = 0;
    // Absent, free or in use; this program's own open port counts as in use.
    virtual PortProbe Probe(const std::string& name) = 0;
    virtual std::vector<DiscoveredPort> ListPorts() = 0;
    // `arrived`: bytes have arrived; `deviceChanged(true|false)`: a board device came or went.
    virtual void SetNotifiers(std::function<void()> arrived,
                              std::function<void(bool)> deviceChanged) = 0;
};

// The machine's serial ports: QSerialPort, the board's USB ports and the simulated-ports
// folder for listing, udev and the folder for hot-plug.
std::unique_ptr<BoardLine> MakeSerialLine();

}  // namespace varnow::platform
