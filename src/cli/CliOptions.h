#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/StringTable.h"

namespace varnow::cli {

// The options that every command shares, before or after its name.
struct CliOptions {
    std::string port;                        // -p, --port: the first one given
    std::vector<std::string> ports;          // every --port (station takes several)
    bool simulate = false;                   // --simulate: an embedded simulated board
    std::optional<std::string> password;     // --password, else VARNOW_PASSWORD
    std::optional<std::string> newPassword;  // VARNOW_NEW_PASSWORD (password set)
    std::string traceFile;                   // --trace
    Language language = Language::English;
    bool json = false;  // --json
    // This run's own folder for extracted firmware: command-line runs may go on side by side
    // (a production line), so they do not share the desktop tool's fixed file.
    std::string scratchFolder;
};

}  // namespace varnow::cli
