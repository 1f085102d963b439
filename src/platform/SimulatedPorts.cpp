#include "SimulatedPorts.h"

#include <cstdlib>

#include "link/SimulatedPortsFolder.h"

namespace varnow::platform {

std::filesystem::path SimulatedPortsFolderFromEnvironment() {
    return SimulatedPortsFolder(std::getenv("VARNOW_SIM_PORTS"), std::getenv("XDG_RUNTIME_DIR"),
                                std::getenv("USER"));
}

}  // namespace varnow::platform
