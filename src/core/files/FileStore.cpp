#include "files/FileStore.h"

#include <fstream>

namespace varnow {

FileWritten PlainFileStore::WriteNew(const std::filesystem::path& folder, const std::string& stem,
                                     const std::string& extension, ByteView bytes) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (int counter = 1; counter < 10000; ++counter) {
        const std::string name =
            stem + (counter == 1 ? std::string() : "-" + std::to_string(counter)) + extension;
        const FileWritten written = WriteNewAt(folder / name, bytes);
        if (written.ok() || !std::filesystem::exists(folder / name)) {
            return written;
        }
    }
    return {folder / (stem + extension), "no free name"};
}

FileWritten PlainFileStore::WriteNewAt(const std::filesystem::path& path, ByteView bytes) {
    if (std::filesystem::exists(path)) {
        return {path, "a file of that name exists"};
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        return {path, "cannot be written"};
    }
    return {path, {}};
}

}  // namespace varnow
