#include "support/TempFolder.h"

#include <random>
#include <stdexcept>
#include <string>

#include "package/PackageFile.h"

namespace varnow::testing {

TempFolder::TempFolder() {
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() /
             ("varnow-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TempFolder::Write(const std::string& name, ByteView bytes) const {
    const std::filesystem::path file = m_path / name;
    if (!WriteFileBytes(file, bytes)) {
        throw std::runtime_error("cannot write " + file.string());
    }
    return file;
}

}  // namespace varnow::testing
