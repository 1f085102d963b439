#pragma once

#include <filesystem>

#include "Command.h"

namespace varnow::cli {

// Classifies a package and checks everything in it that can be checked without a board.
class CheckPackageCommand : public Subcommand {
public:
    explicit CheckPackageCommand(std::filesystem::path scratchFolder)
        : m_scratchFolder(std::move(scratchFolder)) {}
    std::vector<std::string> Path() const override { return {"inspect"}; }
    std::string Description() const override {
        return "check a package: kind, image frame, product ID, name, hash, firmware CRC";
    }
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;

private:
    std::filesystem::path m_scratchFolder;  // where a combined package's firmware is split off
    std::string m_package;
};

}  // namespace varnow::cli
