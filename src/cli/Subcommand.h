#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BoardAccess.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "link/Platform.h"
#include "ui/StringTable.h"

namespace CLI {
class App;
}

namespace varnow::cli {

// What every command gets from the front end.
struct CommandContext {
    const CliOptions& options;
    CliOutput& output;
    const StringTable& strings;
    // The board on a chosen port, its login answered with `password` when one is given.
    std::function<std::unique_ptr<BoardAccess>(const std::string& port,
                                               std::optional<std::string> password)>
        openBoard;
    // The board ports there are (the embedded board's under --simulate).
    std::function<std::vector<PortInfo>()> listPorts;

    std::string Text(int id, const std::vector<std::string>& args = {}) const {
        return FillPlaceholders(strings.Text(id, options.language), args);
    }
};

// One command of varnow-cli. Adding one: a class that says where it sits, defines its own
// arguments on its CLI11 command, and does its work in Execute; then one line in the list of
// commands (Commands.cpp).
class Subcommand {
public:
    virtual ~Subcommand() = default;
    // Where it sits under varnow-cli: {"upload"}, or {"settings", "show"} under a group.
    virtual std::vector<std::string> Path() const = 0;
    virtual std::string Description() const = 0;
    // Its own arguments and options, bound to its members.
    virtual void Define(CLI::App&) {}
    virtual int Execute(CommandContext& context) = 0;
};

std::vector<std::unique_ptr<Subcommand>> AllCommands(const std::string& scratchFolder);

}  // namespace varnow::cli
