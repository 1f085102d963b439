#pragma once

#include "Command.h"
#include "package/LoadedPackage.h"

namespace varnow::cli {

// Writes a package into the board as the desktop tool's Upload does: the KOFS image (checked
// by the board's hash), and the firmware through the boot loader when the package has one.
// As "firmware" it takes only the package's firmware.
class UploadCommand : public Subcommand {
public:
    explicit UploadCommand(bool firmwareOnly) : m_firmwareOnly(firmwareOnly) {}
    const char* Name() const override { return m_firmwareOnly ? "firmware" : "upload"; }
    const char* Synopsis() const override {
        return m_firmwareOnly ? "firmware PACKAGE.qvk" : "upload PACKAGE.qvk";
    }
    const char* Description() const override {
        return m_firmwareOnly
                   ? "upgrade the board's firmware from a firmware or combined package"
                   : "write the package into the board (image, then firmware if it has one)";
    }
    int Execute(CommandContext& context) override;

private:
    int UpgradeFirmware(CommandContext& context, BoardAccess& board, LoadedPackage& package,
                        CliOutput::Fields& fields);
    int WritePackage(CommandContext& context, BoardAccess& board, LoadedPackage& package,
                     CliOutput::Fields& fields);

    bool m_firmwareOnly;
};

}  // namespace varnow::cli
