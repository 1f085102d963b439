#pragma once

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CliApp.h"
#include "cli/VirtualBoardAccess.h"
#include "support/TempFolder.h"

namespace varnow::testing {

// Runs varnow-cli as its users do, against a simulated board in virtual time.
class CliRunner {
public:
    struct CliResult {
        int status;
        std::string out;
        std::string err;
        std::uint64_t virtualMs;  // when the command let the board go
        bool boardOpened;
    };

    // `prepare` sets the board up before the command connects; the board's own state after the
    // command can be looked at with VirtualBoardAccess::AtEnd.
    CliResult Cli(std::vector<std::string> arguments,
                  const std::function<void(VirtualBoardAccess&)>& prepare = {},
                  std::map<std::string, std::string> variables = {}) {
        std::ostringstream out;
        std::ostringstream err;
        std::uint64_t virtualMs = 0;
        bool opened = false;
        cli::CliEnvironment environment{
            .out = out,
            .err = err,
            .password = Variable(variables, "VARNOW_PASSWORD"),
            .newPassword = Variable(variables, "VARNOW_NEW_PASSWORD"),
            .scratchFolder = folder.path().string(),
            .systemLanguage = systemLanguage,
            .openBoard =
                [&](const cli::CliOptions&, cli::CliOutput& output, const std::string&,
                    std::optional<std::string> password) -> std::unique_ptr<cli::BoardAccess> {
                opened = true;
                auto access = std::make_unique<VirtualBoardAccess>(output, strings, password,
                                                                   folder.path() / "data");
                access->board().config().latencyMs = 1;
                access->NoteEndIn(&virtualMs);
                if (prepare) {
                    prepare(*access);
                }
                return access;
            },
            .listPorts = [this](const cli::CliOptions&) { return ports; },
        };
        std::vector<const char*> argv{"varnow-cli"};
        for (const std::string& argument : arguments) {
            argv.push_back(argument.c_str());
        }
        const int status = cli::RunCli(static_cast<int>(argv.size()), argv.data(), environment);
        return CliResult{status, out.str(), err.str(), virtualMs, opened};
    }
    // The last line of standard error.
    static std::string LastLine(const std::string& text) {
        const std::string trimmed = text.substr(0, text.find_last_not_of('\n') + 1);
        return trimmed.substr(trimmed.find_last_of('\n') + 1);
    }
    std::string Package(const Bytes& bytes, const char* name = "image.qvk") {
        return folder.Write(name, bytes).string();
    }

    StringTable strings = StringTable::BuiltIn();
    TempFolder folder;
    Language systemLanguage = Language::English;  // the locale's
    // The board ports the machine has.
    std::vector<PortInfo> ports{{VirtualBoardAccess::kPort, "simulated", true, "ttyACM7"}};

private:
    static std::optional<std::string> Variable(const std::map<std::string, std::string>& variables,
                                               const std::string& name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
};

}  // namespace varnow::testing
