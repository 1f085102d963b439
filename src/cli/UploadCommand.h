#pragma once

#include <filesystem>

#include "Command.h"
#include "package/LoadedPackage.h"

namespace varnow::cli {

// Writes a package into the board as the desktop tool's Upload does: the KOFS image (checked
// by the board's hash), and the firmware through the boot loader when the package has one.
// As "firmware" it writes only the package's firmware. The package is checked before the
// board is touched.
class UploadCommand : public Subcommand {
public:
    UploadCommand(bool firmwareOnly, std::filesystem::path scratchFolder)
        : m_firmwareOnly(firmwareOnly), m_scratchFolder(std::move(scratchFolder)) {}
    std::vector<std::string> Path() const override {
        return {m_firmwareOnly ? "firmware" : "upload"};
    }
    std::string Description() const override {
        return m_firmwareOnly
                   ? "upgrade the board's firmware from a firmware or combined package"
                   : "write the package into the board (image, then firmware if it has one)";
    }
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;

private:
    // The package's problem, reported; nullopt when it can be written.
    std::optional<int> RefusePackage(CommandContext& context);

    bool m_firmwareOnly;
    std::filesystem::path m_scratchFolder;
    std::string m_package;
    bool m_skipUnchanged = false;
    bool m_dryRun = false;
};

}  // namespace varnow::cli
