#pragma once

namespace varnow {

// The serial-port texts are fixed English texts, not string-table entries.
inline constexpr const char* kUnableToOpenPort = "Unable to open COM port";
inline constexpr const char* kFailToSetupPort = "Fail to setup the COM port";
inline constexpr const char* kFailToSetupHandshaking = "Fail to setup handshaking";

}  // namespace varnow
