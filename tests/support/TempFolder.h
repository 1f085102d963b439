#pragma once

#include <filesystem>

#include "common/Bytes.h"

namespace varnow::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path Write(const std::string& name, ByteView bytes) const;

private:
    std::filesystem::path m_path;
};

}  // namespace varnow::testing
