#pragma once

#include <cstddef>
#include <filesystem>

#include "common/Bytes.h"

namespace varnow {

enum class FileReadStatus { Ok, CannotOpen, TooLarge };

struct FileRead {
    FileReadStatus status = FileReadStatus::CannotOpen;
    Bytes bytes;
    std::uintmax_t fileSize = 0;
};

// Reads a regular file read-only (other programs may keep it open). At most `maxBytes` are
// read: a larger file gives TooLarge with only its size known.
FileRead ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes);

// Reads only the first `count` bytes (fewer for a shorter file) and the file's size.
FileRead ReadFileStart(const std::filesystem::path& path, std::size_t count);

// Writes (creating or truncating) a file; false when it cannot be created or fully written.
bool WriteFileBytes(const std::filesystem::path& path, ByteView bytes);

}  // namespace varnow
