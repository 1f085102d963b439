#pragma once

#include <filesystem>
#include <string>

namespace varnow {

// Where simulated boards put links to their pseudo-terminals: `overrideFolder` (the
// VARNOW_SIM_PORTS variable) when set, else "varnow-sim" in the user's runtime folder
// (XDG_RUNTIME_DIR), else "varnow-sim-<user>" in the temporary folder.
std::filesystem::path SimulatedPortsFolder(const char* overrideFolder, const char* runtimeFolder,
                                           const char* user);

}  // namespace varnow
