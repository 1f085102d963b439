#pragma once

#include <filesystem>

#include "common/Bytes.h"

namespace varnow {

// The package the user chose and what loading it produced. Owned by the package path field;
// the extracted firmware file lives exactly as long as this object.
class LoadedPackage {
public:
    LoadedPackage() = default;
    LoadedPackage(const LoadedPackage&) = delete;
    LoadedPackage& operator=(const LoadedPackage&) = delete;
    ~LoadedPackage();

    const std::filesystem::path& packagePath() const { return m_packagePath; }
    void SetPackagePath(std::filesystem::path path) { m_packagePath = std::move(path); }

    // The KOFS image of the last successful load; its size is the image size (0 before one).
    const Bytes& image() const { return m_image; }
    void SetImage(Bytes image) { m_image = std::move(image); }

    const std::filesystem::path& extractedFirmwarePath() const { return m_extractedFirmware; }
    void SetExtractedFirmwarePath(std::filesystem::path path) {
        m_extractedFirmware = std::move(path);
    }

private:
    std::filesystem::path m_packagePath;
    Bytes m_image;
    std::filesystem::path m_extractedFirmware;
};

}  // namespace varnow
