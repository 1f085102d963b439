#pragma once

#include <filesystem>

namespace varnow::platform {

// Where simulated boards put their links, as this machine's environment says.
std::filesystem::path SimulatedPortsFolderFromEnvironment();

}  // namespace varnow::platform
