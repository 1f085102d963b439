#pragma once

#include <optional>
#include <string>

namespace varnow::cli {

// Asks for a secret on the terminal without echoing it. Nullopt when standard input is no
// terminal, or nothing was typed.
std::optional<std::string> ReadSecretFromTerminal(const std::string& prompt);

}  // namespace varnow::cli
