#include "link/SimulatedPortsFolder.h"

namespace varnow {

std::filesystem::path SimulatedPortsFolder(const char* overrideFolder, const char* runtimeFolder,
                                           const char* user) {
    if (overrideFolder != nullptr && *overrideFolder != '\0') {
        return overrideFolder;
    }
    if (runtimeFolder != nullptr && *runtimeFolder != '\0') {
        return std::filesystem::path(runtimeFolder) / "varnow-sim";
    }
    const std::string name = (user != nullptr && *user != '\0') ? user : "user";
    return std::filesystem::temp_directory_path() / ("varnow-sim-" + name);
}

}  // namespace varnow
