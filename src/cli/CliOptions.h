#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/StringTable.h"

namespace varnow::cli {

// Where a secret comes from: never the command line itself, where every user of the machine
// can read it.
struct SecretSource {
    std::optional<std::string> variable;  // --password-env VAR: the variable's value
    std::optional<std::string> file;      // --password-file FILE: its first line
    bool ask = false;                     // --password: asked on the terminal without echo
};

// The options that every command shares, before or after its name.
struct CliOptions {
    std::string port;                                    // -p, --port: the first one given
    std::vector<std::string> ports;                      // every --port (station takes several)
    bool simulate = false;                               // --simulate: an embedded simulated board
    SecretSource password;                               // the board's administrator password
    std::optional<std::string> passwordFromEnvironment;  // VARNOW_PASSWORD
    std::optional<std::string> newPasswordFromEnvironment;  // VARNOW_NEW_PASSWORD
    std::string traceFile;                                  // --trace
    Language language = Language::English;
    bool json = false;  // --json
    // This run's own folder for extracted firmware: command-line runs may go on side by side
    // (a production line), so they do not share the desktop tool's fixed file.
    std::string scratchFolder;
};

}  // namespace varnow::cli
