#pragma once

#include <filesystem>

#include "Command.h"
#include "ui/Messenger.h"

namespace varnow::cli {

// Classifies a package and checks everything in it that can be checked without a board.
class CheckPackageCommand : public Subcommand {
public:
    explicit CheckPackageCommand(std::filesystem::path scratchFolder)
        : m_scratchFolder(std::move(scratchFolder)) {}
    const char* Name() const override { return "inspect"; }
    const char* Synopsis() const override { return "inspect PACKAGE.qvk"; }
    const char* Description() const override {
        return "check a package (kind, image frame, product ID, name, hash, firmware CRC)";
    }
    int Execute(CommandContext& context) override;

private:
    int Check(const std::filesystem::path& path, Messenger& messenger, CliOutput::Fields& fields);

    std::filesystem::path m_scratchFolder;  // where a combined package's firmware is split off
};

}  // namespace varnow::cli
