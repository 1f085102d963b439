// varnow-cli: the command-line front end of Varno Writer.
#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "BoardConnection.h"
#include "CliApp.h"

namespace {

using namespace varnow;
using namespace varnow::cli;

bool ErrorIsTerminal() {
#if defined(__unix__) || defined(__APPLE__)
    return isatty(2) != 0;
#else
    return false;
#endif
}

// The terminal's width now, so that the progress line never wraps.
int TerminalColumns() {
#if defined(__unix__) || defined(__APPLE__)
    winsize size{};
    if (ioctl(2, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
#endif
    if (const char* columns = std::getenv("COLUMNS")) {
        return std::max(20, std::atoi(columns));
    }
    return 80;
}

std::filesystem::path FreshScratchFolder() {
    std::random_device random;
    return std::filesystem::temp_directory_path() / ("varnow-cli-" + std::to_string(random()));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const std::filesystem::path scratch = FreshScratchFolder();
    std::optional<std::string> password;
    if (const char* given = std::getenv("VARNOW_PASSWORD"); given && *given) {
        password = given;
    }
    std::optional<std::string> newPassword;
    if (const char* given = std::getenv("VARNOW_NEW_PASSWORD"); given && *given) {
        newPassword = given;
    }
    const StringTable strings = StringTable::BuiltIn();
    CliEnvironment environment{
        .out = std::cout,
        .err = std::cerr,
        .terminal = ErrorIsTerminal(),
        .columns = TerminalColumns,
        .password = password,
        .newPassword = newPassword,
        .scratchFolder = scratch.string(),
        .openBoard = [&strings](const CliOptions& options, CliOutput& output,
                                const std::string& port) -> std::unique_ptr<BoardAccess> {
            return std::make_unique<BoardConnection>(options, output, strings, port);
        },
        .listPorts =
            [](const CliOptions& options) {
                return BoardConnection::LineFor(options)->ListPorts();
            },
    };
    const int status = RunCli(argc, argv, environment);
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
    return status;
}
