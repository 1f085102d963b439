#pragma once

#include <string>
#include <vector>

#include "link/Platform.h"

namespace varnow::platform {

// The board's USB virtual COM port: its Windows driver name, and its USB ids elsewhere.
inline constexpr const char* kBoardDriverName = "STMicroelectronics Virtual COM Port";
inline constexpr unsigned kBoardVendorId = 0x0483;
inline constexpr unsigned kBoardProductId = 0x5740;

// The ports that lead to a board: the board's own USB ports in enumeration order, then every
// link in the simulated-ports folder (sorted by name).
std::vector<PortInfo> DiscoverBoardPorts();

}  // namespace varnow::platform
