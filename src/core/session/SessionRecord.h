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
    // The board was told to restart and its port has not been seen gone since: until it has,
    // the port that is still there is the old one, not the board back.
    bool restarting = false;
    // While a restarted board is awaited: another board that answered on a port it may have
    // come back on (its MCU id and port), for the message when it does not come back.
    std::string otherMcuSeen;
    // The port a restarted board came back on, when it is not the one it left: the connect's
    // progress says so.
    std::string cameBackOn;
    std::string otherPortSeen;
};

}  // namespace varnow
