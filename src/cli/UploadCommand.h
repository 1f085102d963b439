#pragma once

#include <filesystem>
#include <string>

#include "BoardCommand.h"
#include "ops/WritePackageOperation.h"

namespace varnow::cli {

// How a write of a package is told: the figures of its image and the outcome of each part.
CliOutput::Fields WriteFields(const WriteResult& result);
// The text for an interrupted write: what the board may hold from it.
int InterruptedWriteText(const WritePackageOperation& write);

// Writes a package into the board: its image (verified by the board's hash), then its
// firmware, if it has one.
class UploadCommand : public BoardCommand {
public:
    explicit UploadCommand(std::filesystem::path scratchFolder)
        : m_scratchFolder(std::move(scratchFolder)) {}
    std::vector<std::string> Path() const override { return {"upload"}; }
    std::string Description() const override {
        return "write a package into the board: its image (verified by the board's SHA-1), then "
               "its firmware, if it has one";
    }
    void Define(CLI::App& command) override;

private:
    std::optional<int> Prepare(CommandContext& context) override;
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;

    std::filesystem::path m_scratchFolder;
    std::string m_package;
    bool m_skipUnchanged = false;
    bool m_dryRun = false;
};

// Checks a package before a board is touched: readable, sound and, when `needsFirmware`,
// with a firmware image. A status ends the command there.
std::optional<int> RefusePackage(CommandContext& context, const std::string& package,
                                 const std::filesystem::path& scratchFolder, bool needsFirmware);

}  // namespace varnow::cli
