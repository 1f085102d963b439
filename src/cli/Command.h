#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BoardAccess.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "ui/StringTable.h"

namespace varnow::cli {

// What every command gets from the front end.
struct CommandContext {
    const CliOptions& options;
    CliOutput& output;
    const StringTable& strings;
    std::vector<std::string> arguments;  // after the command's name
    // The board the options choose; nullptr after telling the user why there is none.
    std::function<std::unique_ptr<BoardAccess>()> openBoard;
};

// One sub-command of varnow-cli.
class Subcommand {
public:
    virtual ~Subcommand() = default;
    virtual const char* Name() const = 0;
    virtual const char* Synopsis() const = 0;  // "inspect PACKAGE.qvk"
    virtual const char* Description() const = 0;
    virtual int Execute(CommandContext& context) = 0;
};

}  // namespace varnow::cli
