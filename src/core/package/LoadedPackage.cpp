#include "package/LoadedPackage.h"

#include <system_error>

namespace varnow {

LoadedPackage::~LoadedPackage() {
    if (!m_extractedFirmware.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_extractedFirmware, ignored);
    }
}

}  // namespace varnow
