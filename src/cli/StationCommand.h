#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CertCommand.h"
#include "Subcommand.h"

namespace varnow::cli {

// The production line: watches the board ports and runs one job on every board that arrives
// (the boards already plugged in count as arrived): upload with verification, then its
// settings row and a new certificate when asked. Boards are written at the same time, each on
// its own thread; a board is written once per plug.
class StationCommand : public Subcommand {
public:
    explicit StationCommand(std::filesystem::path scratchFolder)
        : m_scratchFolder(std::move(scratchFolder)) {}
    std::vector<std::string> Path() const override { return {"station"}; }
    std::string Description() const override {
        return "write every board that is plugged in: the package, then its settings row "
               "(--settings FILE.csv) and a new certificate (--cert-make), several boards at once";
    }
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;

private:
    std::filesystem::path m_scratchFolder;
    std::string m_package;
    std::optional<std::string> m_settingsFile;
    bool m_certMake = false;
    CertMakeOptions m_certOptions;
    bool m_skipUnchanged = false;
    bool m_dryRun = false;
    std::optional<std::string> m_logFile;
    int m_count = 0;
};

}  // namespace varnow::cli
