#pragma once

#include <optional>
#include <string>

namespace varnow::cli {

// Asks for a secret on the terminal without echoing it. Nullopt when standard input is no
// terminal, or nothing was typed.
std::optional<std::string> ReadSecretFromTerminal(const std::string& prompt);

// Asks a yes-or-no question on the terminal; "y" or "yes" (any case) is yes, anything else
// no. Nullopt when standard input is no terminal.
std::optional<bool> AskYesOnTerminal(const std::string& question);

}  // namespace varnow::cli
