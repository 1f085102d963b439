#pragma once

#include <filesystem>

#include "CliOutput.h"
#include "Subcommand.h"
#include "app/OutcomeText.h"
#include "package/PackageFormat.h"
#include "ui/Messenger.h"

namespace varnow::cli {

// What a package holds and whether it is sound, found without a board.
struct PackageCheck {
    bool sound = false;
    PackageKind kind = PackageKind::Incorrect;
    bool hasFirmware = false;
    CliOutput::Fields fields;  // what it holds, for the report
};

// Classifies the package and checks everything that can be checked without a board: the
// image frame, product ID, name, hash and fit, and the firmware's CRC. The messenger tells
// what is wrong; a combined package's firmware is split off into `scratchFolder`.
PackageCheck CheckPackage(const std::filesystem::path& path, Messenger& messenger,
                          const std::filesystem::path& scratchFolder);

// Why a package that failed its checks was refused, in words: the failure's one line.
OutcomeText PackageRefusal(CommandContext& context, const std::filesystem::path& package);

// Classifies a package and checks everything in it that can be checked without a board.
class InspectCommand : public Subcommand {
public:
    explicit InspectCommand(std::filesystem::path scratchFolder)
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
