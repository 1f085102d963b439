#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace varnow::cli {

// Saves a failed command's trace as <application data>/VarnoW/traces/<UTC time>-<port>.trace;
// nullopt when it cannot be written.
std::optional<std::filesystem::path> SaveTrace(const std::filesystem::path& appData,
                                               const std::string& port, const std::string& text);

}  // namespace varnow::cli
