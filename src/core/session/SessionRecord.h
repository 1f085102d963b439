#pragma once

#include <string>

namespace varnow {

// What the tool knows about the connected board.
struct SessionRecord {
    std::string portName;  // the port of the last successful open
    bool isp = false;      // the board answered the probe from its ISP boot loader
    bool auth = false;     // the board asked for a login during this connect
    bool login = false;    // this connection had to log in
    std::string fibId;     // the last data line of "get id fib"
    std::string mcuId;     // the last data line of "get id mcu": hexadecimal digits
    bool reconnectPending = false;
    bool ignoreNextArrival = false;
};

}  // namespace varnow
