// varnow-cli: the command-line front end of Varno Writer.
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "CliMessageHost.h"
#include "Command.h"
#include "ExitStatus.h"
#include "InspectCommand.h"
#include "ui/Messenger.h"
#include "ui/StringTable.h"

namespace {

using namespace varnow;
using namespace varnow::cli;

std::filesystem::path FreshScratchFolder() {
    std::random_device random;
    return std::filesystem::temp_directory_path() / ("varnow-cli-" + std::to_string(random()));
}

void PrintHelp(std::ostream& out, const std::vector<std::unique_ptr<Command>>& commands) {
    out << "usage: varnow-cli [--lang en|ko] COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& command : commands) {
        out << "  " << command->Synopsis() << "\n      " << command->Description() << "\n";
    }
    out << "\nexit status:\n"
        << "  0  success\n"
        << "  1  other failure\n"
        << "  2  bad command line\n"
        << "  3  package refused (unreadable, not a package, or damaged)\n";
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path scratch = FreshScratchFolder();
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<InspectCommand>(scratch));

    Language language = Language::English;
    int at = 1;
    for (; at < argc; ++at) {
        const std::string option = argv[at];
        if (option == "--help" || option == "-h") {
            PrintHelp(std::cout, commands);
            return kExitSuccess;
        }
        if (option == "--lang" && at + 1 < argc) {
            const std::string value = argv[++at];
            if (value != "en" && value != "ko") {
                std::cerr << "varnow-cli: --lang takes en or ko\n";
                return kExitUsage;
            }
            language = (value == "ko") ? Language::Korean : Language::English;
            continue;
        }
        break;
    }
    if (at >= argc) {
        PrintHelp(std::cerr, commands);
        return kExitUsage;
    }
    const std::string name = argv[at];
    for (const auto& command : commands) {
        if (name != command->Name()) {
            continue;
        }
        const StringTable strings = StringTable::BuiltIn();
        CliMessageHost host(std::cerr);
        Messenger messenger(host, strings, language);
        CommandContext context{messenger, std::cout, {argv + at + 1, argv + argc}};
        const int status = command->Execute(context);
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
        if (status == kExitUsage) {
            std::cerr << "usage: varnow-cli " << command->Synopsis() << "\n";
        }
        return status;
    }
    std::cerr << "varnow-cli: unknown command " << name << "\n";
    PrintHelp(std::cerr, commands);
    return kExitUsage;
}
