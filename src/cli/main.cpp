// varnow-cli: the command-line front end of Varno Writer.
#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

#include "BoardConnection.h"
#include "CheckPackageCommand.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "Command.h"
#include "ExitStatus.h"
#include "IdentifyCommand.h"
#include "PortsCommand.h"
#include "UploadCommand.h"
#include "ui/StringTable.h"

namespace {

using namespace varnow;
using namespace varnow::cli;

constexpr const char* kOptionsHelp = R"(usage: varnow-cli [options] COMMAND [ARGS]

options:
  --port PORT      the board's port (default: the only board port found)
  --simulate       use a simulated board inside this program
  --password PW    the board's administrator password (else $VARNOW_PASSWORD, else asked)
  --trace FILE     record every byte written and received, with times
  --lang en|ko     language of the messages
  --json           one JSON object per line for every event, and a final result object
)";

constexpr const char* kStatusHelp = R"(
exit status:
  0  success
  1  other failure
  2  bad command line
  3  package refused (unreadable, not a package, or damaged)
  4  no board port found, or several and no --port
  5  the port could not be opened or set up
  6  the board did not answer, or stopped answering
  7  the board's firmware is too old for this tool ("You must upgrade firmware.")
  8  the board needs a newer Varno Writer ("You must use last writer.")
  9  login refused or cancelled
 10  the board is in its ISP boot loader
 11  the board's port vanished
 12  the package is for another product (its product ID differs from the board's)
 13  a step of the transfer got no answer in time
 14  the board's hash of the stored image differs from the package's
 15  the board cannot tell the hash of what it stored
 16  the image could not be written to the port
 17  the boot loader did not take the firmware
)";

bool IsTerminal(int fd) {
#if defined(__unix__) || defined(__APPLE__)
    return isatty(fd) != 0;
#else
    (void)fd;
    return false;
#endif
}

std::filesystem::path FreshScratchFolder() {
    std::random_device random;
    return std::filesystem::temp_directory_path() / ("varnow-cli-" + std::to_string(random()));
}

void PrintHelp(std::ostream& out, const std::vector<std::unique_ptr<Subcommand>>& commands) {
    out << kOptionsHelp << "\ncommands:\n";
    for (const auto& command : commands) {
        out << "  " << command->Synopsis() << "\n      " << command->Description() << "\n";
    }
    out << kStatusHelp;
}

// Parses the options before the command; returns the index of the command, or -1 on an error.
int ParseOptions(int argc, char** argv, CliOptions& options, bool& help) {
    int at = 1;
    for (; at < argc; ++at) {
        const std::string option = argv[at];
        const bool hasValue = at + 1 < argc;
        if (option == "--help" || option == "-h") {
            help = true;
        } else if (option == "--simulate") {
            options.simulate = true;
        } else if (option == "--json") {
            options.json = true;
        } else if (option == "--port" && hasValue) {
            options.port = argv[++at];
        } else if (option == "--password" && hasValue) {
            options.password = argv[++at];
        } else if (option == "--trace" && hasValue) {
            options.traceFile = argv[++at];
        } else if (option == "--lang" && hasValue) {
            const std::string value = argv[++at];
            if (value != "en" && value != "ko") {
                std::cerr << "varnow-cli: --lang takes en or ko\n";
                return -1;
            }
            options.language = value == "ko" ? Language::Korean : Language::English;
        } else if (option.starts_with("--")) {
            std::cerr << "varnow-cli: unknown option " << option << "\n";
            return -1;
        } else {
            break;
        }
    }
    if (options.simulate && !options.port.empty()) {
        std::cerr << "varnow-cli: --port and --simulate exclude each other\n";
        return -1;
    }
    return at;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const std::filesystem::path scratch = FreshScratchFolder();
    std::vector<std::unique_ptr<Subcommand>> commands;
    commands.push_back(std::make_unique<PortsCommand>());
    commands.push_back(std::make_unique<IdentifyCommand>());
    commands.push_back(std::make_unique<UploadCommand>(false));
    commands.push_back(std::make_unique<UploadCommand>(true));
    commands.push_back(std::make_unique<CheckPackageCommand>(scratch));

    CliOptions options;
    options.scratchFolder = scratch.string();
    if (const char* password = std::getenv("VARNOW_PASSWORD"); password && *password) {
        options.password = password;
    }
    bool help = false;
    const int at = ParseOptions(argc, argv, options, help);
    if (help) {
        PrintHelp(std::cout, commands);
        return kExitSuccess;
    }
    if (at < 0 || at >= argc) {
        PrintHelp(std::cerr, commands);
        return kExitUsage;
    }
    const std::string name = argv[at];
    for (const auto& command : commands) {
        if (name != command->Name()) {
            continue;
        }
        const StringTable strings = StringTable::BuiltIn();
        CliOutput output(std::cout, std::cerr, options.json, IsTerminal(2));
        CommandContext context{options, output, strings, {argv + at + 1, argv + argc}, [&] {
                                   return std::unique_ptr<BoardAccess>(
                                       BoardConnection::Open(options, output, strings));
                               }};
        const int status = command->Execute(context);
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
        if (status == kExitUsage) {
            std::cerr << "usage: varnow-cli [options] " << command->Synopsis() << "\n";
        }
        return status;
    }
    std::cerr << "varnow-cli: unknown command " << name << "\n";
    PrintHelp(std::cerr, commands);
    return kExitUsage;
}
