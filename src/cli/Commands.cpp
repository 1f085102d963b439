#include "CertCommand.h"
#include "FirmwareCommand.h"
#include "IdentifyCommand.h"
#include "InfoCommand.h"
#include "InspectCommand.h"
#include "NetInfoCommand.h"
#include "PasswordCommand.h"
#include "PortsCommand.h"
#include "RebootCommand.h"
#include "SettingsCommand.h"
#include "StationCommand.h"
#include "Subcommand.h"
#include "UploadCommand.h"

namespace varnow::cli {

std::vector<std::unique_ptr<Subcommand>> AllCommands(const std::string& scratchFolder) {
    std::vector<std::unique_ptr<Subcommand>> commands;
    commands.push_back(std::make_unique<PortsCommand>());
    commands.push_back(std::make_unique<IdentifyCommand>());
    commands.push_back(std::make_unique<InfoCommand>());
    commands.push_back(std::make_unique<NetInfoCommand>());
    commands.push_back(std::make_unique<UploadCommand>(scratchFolder));
    commands.push_back(std::make_unique<FirmwareCommand>(scratchFolder));
    commands.push_back(std::make_unique<InspectCommand>(scratchFolder));
    commands.push_back(std::make_unique<SettingsShowCommand>());
    commands.push_back(std::make_unique<SettingsSetCommand>());
    commands.push_back(std::make_unique<SettingsBackupCommand>());
    commands.push_back(std::make_unique<SettingsRestoreCommand>());
    commands.push_back(std::make_unique<PasswordCommand>(false));
    commands.push_back(std::make_unique<PasswordCommand>(true));
    commands.push_back(std::make_unique<RebootCommand>());
    commands.push_back(std::make_unique<CertMakeCommand>());
    commands.push_back(std::make_unique<CertImportCommand>());
    commands.push_back(std::make_unique<CertShowCommand>());
    commands.push_back(std::make_unique<StationCommand>(scratchFolder));
    return commands;
}

}  // namespace varnow::cli
