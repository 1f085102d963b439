#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "common/Bytes.h"

namespace varnow {

// What reading a file the user named came to.
struct UserFile {
    Bytes bytes;
    std::string problem;  // why it was not read; empty when it was
    bool ok() const { return problem.empty(); }
};

// Reads a file only when it is a regular file of at most `limit` bytes: a device, a pipe or a
// folder is refused, and so is a file that grows past the limit while it is read.
UserFile ReadRegularFile(const std::filesystem::path& path, std::size_t limit);

}  // namespace varnow
