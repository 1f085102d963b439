#include "files/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace varnow {

UserFile ReadRegularFile(const std::filesystem::path& path, std::size_t limit) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) {
        return {{}, error.message()};
    }
    if (!std::filesystem::is_regular_file(status)) {
        return {{}, "not a regular file"};
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {{}, std::strerror(errno)};
    }
    UserFile read;
    read.bytes.resize(limit + 1);
    file.read(reinterpret_cast<char*>(read.bytes.data()), static_cast<std::streamsize>(limit + 1));
    const auto count = static_cast<std::size_t>(file.gcount());
    if (count > limit) {
        return {{}, "larger than " + std::to_string(limit) + " bytes"};
    }
    read.bytes.resize(count);
    return read;
}

}  // namespace varnow
