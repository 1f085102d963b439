#pragma once

#include <string>
#include <vector>

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
};

// One sub-command of varnow-cli.
class Command {
public:
    virtual ~Command() = default;
    virtual const char* Name() const = 0;
    virtual const char* Synopsis() const = 0;  // "inspect PACKAGE.qvk"
    virtual const char* Description() const = 0;
    virtual int Execute(CommandContext& context) = 0;
};

}  // namespace varnow::cli
