#pragma once

#include <filesystem>
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

// The hub port a device is plugged into, as udev names it (ID_PATH): the name of the link in
// `byPath` (/dev/serial/by-path) that leads to `device`; empty when none does.
std::string PhysicalPathOf(const std::filesystem::path& device,
                           const std::filesystem::path& byPath = "/dev/serial/by-path");

// A `--port` argument that is a link of /dev/serial (by-id, by-path) leads to its device;
// anything else stands as it is.
std::string FollowSerialLink(const std::string& argument);

}  // namespace varnow::platform
