#pragma once

#include <filesystem>
#include <string>

#include "BoardCommand.h"

namespace varnow::cli {

// Upgrades the board's firmware through its boot loader, from a firmware or combined package.
class FirmwareCommand : public BoardCommand {
public:
    explicit FirmwareCommand(std::filesystem::path scratchFolder)
        : m_scratchFolder(std::move(scratchFolder)) {}
    std::vector<std::string> Path() const override { return {"firmware"}; }
    std::string Description() const override {
        return "upgrade the board's firmware through its boot loader, from a firmware or "
               "combined package (the image of a combined package is not written)";
    }
    void Define(CLI::App& command) override;

private:
    std::optional<int> Prepare(CommandContext& context) override;
    bool TakesBootLoader() const override { return true; }
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;

    std::filesystem::path m_scratchFolder;
    std::string m_package;
    bool m_dryRun = false;
};

}  // namespace varnow::cli
