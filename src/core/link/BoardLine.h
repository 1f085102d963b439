#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/Platform.h"

namespace varnow {

// Where a program meets its boards: the serial port it opens, the probe of port names, the
// list of board ports, and the notices of bytes arriving, of board devices coming and going,
// and of the open port failing. The machine's own serial ports, or a simulated board.
class BoardLine {
public:
    struct Notifiers {
        std::function<void()> arrived;                    // bytes have arrived
        std::function<void(bool arrived)> deviceChanged;  // a board device came or went
        std::function<void()> portFailed;                 // the open port failed for good
    };

    virtual ~BoardLine() = default;
    virtual SerialPort& Port() = 0;
    // Absent, free or in use; this program's own open port counts as in use.
    virtual PortProbe Probe(const std::string& name) = 0;
    virtual std::vector<PortInfo> ListPorts() = 0;
    virtual void SetNotifiers(Notifiers notifiers) = 0;
};

}  // namespace varnow
