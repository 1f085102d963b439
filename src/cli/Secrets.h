#pragma once

#include <optional>
#include <string>

#include "CliOptions.h"
#include "app/OutcomeText.h"

namespace varnow::cli {

// A secret as its source gives it, or why it gives none.
struct SecretRead {
    std::optional<std::string> secret;
    std::optional<OutcomeText> problem;  // a source that was named but gives nothing
};

// The secret from `--…-env VAR` or `--…-file FILE`, else from the environment's own variable;
// nothing (and no problem) when none of them is given. A file is read only up to its first
// line, and only a regular file or a pipe, at most 4 KiB.
SecretRead ReadSecret(const SecretSource& source, const std::optional<std::string>& environment);

// Whether the command line gives a password the old way (`--password VALUE`,
// `--password=VALUE`, the same for --new-password): such a value is refused unread. `commands`
// are the words that may follow a flag.
bool PasswordOnCommandLine(int argc, const char* const* argv,
                           const std::vector<std::string>& commands);

}  // namespace varnow::cli
