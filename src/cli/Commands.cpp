#include "CheckPackageCommand.h"
#include "Command.h"
#include "IdentifyCommand.h"
#include "PortsCommand.h"
#include "UploadCommand.h"

namespace varnow::cli {

std::vector<std::unique_ptr<Subcommand>> AllCommands(const std::string& scratchFolder) {
    std::vector<std::unique_ptr<Subcommand>> commands;
    commands.push_back(std::make_unique<PortsCommand>());
    commands.push_back(std::make_unique<IdentifyCommand>());
    commands.push_back(std::make_unique<UploadCommand>(false, scratchFolder));
    commands.push_back(std::make_unique<UploadCommand>(true, scratchFolder));
    commands.push_back(std::make_unique<CheckPackageCommand>(scratchFolder));
    return commands;
}

}  // namespace varnow::cli
