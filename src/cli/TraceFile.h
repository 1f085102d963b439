#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "files/FileStore.h"

namespace varnow::cli {

// Saves a failed command's trace as <data folder>/traces/<UTC time>-<port>.trace, a file of its
// own that only its user may read; nullopt when it cannot be written.
std::optional<std::filesystem::path> SaveTrace(FileStore& files,
                                               const std::filesystem::path& dataFolder,
                                               const std::string& port, const std::string& text);

}  // namespace varnow::cli
