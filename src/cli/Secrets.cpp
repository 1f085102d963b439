#include "Secrets.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "ui/MessageIds.h"

namespace varnow::cli {
namespace {

constexpr std::size_t kLongestSecretFile = 4096;

SecretRead FromFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || (!std::filesystem::is_regular_file(status) && !std::filesystem::is_fifo(status))) {
        return {std::nullopt,
                OutcomeText{kMsgFileUnreadable,
                            {path, error ? error.message() : "not a regular file or a pipe"}}};
    }
    std::ifstream in(path, std::ios::binary);
    std::string text(kLongestSecretFile, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string::npos && text.size() == kLongestSecretFile) {
        std::fill(text.begin(), text.end(), '\0');
        return {std::nullopt,
                OutcomeText{kMsgFileUnreadable, {path, "its first line is too long"}}};
    }
    std::string secret = text.substr(0, end);
    std::fill(text.begin(), text.end(), '\0');
    if (secret.empty()) {
        return {std::nullopt, OutcomeText{kMsgFileUnreadable, {path, "it is empty"}}};
    }
    return {std::move(secret), std::nullopt};
}

}  // namespace

SecretRead ReadSecret(const SecretSource& source, const std::optional<std::string>& environment) {
    if (source.variable) {
        const char* value = std::getenv(source.variable->c_str());
        if (value == nullptr || *value == '\0') {
            return {std::nullopt, OutcomeText{kCliVariableNotSet, {*source.variable}}};
        }
        return {std::string(value), std::nullopt};
    }
    if (source.file) {
        return FromFile(*source.file);
    }
    if (environment && !environment->empty() && !source.ask) {
        return {environment, std::nullopt};
    }
    return {};
}

bool PasswordOnCommandLine(int argc, const char* const* argv,
                           const std::vector<std::string>& commands) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        for (const std::string_view flag : {"--password", "--new-password"}) {
            if (argument.starts_with(flag) && argument.size() > flag.size() &&
                argument[flag.size()] == '=') {
                return true;
            }
            if (argument == flag && i + 1 < argc) {
                const std::string_view next = argv[i + 1];
                const bool word =
                    std::find(commands.begin(), commands.end(), next) != commands.end();
                if (!next.starts_with("-") && !word) {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace varnow::cli
