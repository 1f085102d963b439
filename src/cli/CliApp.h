#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "BoardAccess.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "ui/StringTable.h"

namespace varnow::cli {

// What the command line is run in: its streams and terminal, and how it reaches boards (the
// machine's ports in the program, simulated boards in tests).
struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    bool terminal = false;  // standard error is a terminal
    std::function<int()> columns = [] { return 80; };
    std::optional<std::string> password;     // VARNOW_PASSWORD
    std::optional<std::string> newPassword;  // VARNOW_NEW_PASSWORD
    std::string scratchFolder;
    // The locale's language, used when no --lang is given.
    Language systemLanguage = Language::English;
    std::function<std::unique_ptr<BoardAccess>(const CliOptions&, CliOutput&,
                                               const std::string& port,
                                               std::optional<std::string> password)>
        openBoard;
    std::function<std::vector<PortInfo>(const CliOptions&)> listPorts;
};

inline constexpr const char* kCliVersion = "1.0.1";

// Parses the command line (options before or after the command), runs the command and
// returns the exit status. A mistake in the command line costs one line and a pointer to
// --help, never the whole help.
int RunCli(int argc, const char* const* argv, CliEnvironment& environment);

}  // namespace varnow::cli
