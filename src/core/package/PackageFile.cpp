#include "package/PackageFile.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace varnow {

namespace {

// Opens a regular file and reads up to `limit` bytes of it; `whole` demands all of it.
FileRead ReadUpTo(const std::filesystem::path& path, std::uintmax_t limit, bool whole) {
    FileRead result;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return result;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return result;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0) {
        return result;
    }
    result.fileSize = static_cast<std::uintmax_t>(size);
    if (whole && result.fileSize > limit) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    const auto count = static_cast<std::streamsize>(std::min(result.fileSize, limit));
    file.seekg(0, std::ios::beg);
    result.bytes.resize(static_cast<std::size_t>(count));
    file.read(reinterpret_cast<char*>(result.bytes.data()), count);
    if (file.gcount() != count) {
        result.bytes.clear();
        return result;
    }
    result.status = FileReadStatus::Ok;
    return result;
}

}  // namespace

FileRead ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    return ReadUpTo(path, maxBytes, true);
}

FileRead ReadFileStart(const std::filesystem::path& path, std::size_t count) {
    return ReadUpTo(path, count, false);
}

bool WriteFileBytes(const std::filesystem::path& path, ByteView bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace varnow
