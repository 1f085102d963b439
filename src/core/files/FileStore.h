#pragma once

#include <filesystem>
#include <string>

#include "common/Bytes.h"

namespace varnow {

// Where a file went, or why it could not be written.
struct FileWritten {
    std::filesystem::path path;
    std::string problem;  // the system's words; empty when written
    bool ok() const { return problem.empty(); }
};

// Writes the files the tool keeps (settings backups, traces). A file is never replaced: a new
// one gets a name of its own. Each is written whole or not at all, and only its owner may read
// it (the folders it makes too); the machine's own store does this with the system's calls.
class FileStore {
public:
    virtual ~FileStore() = default;
    // `stem` + `extension` in `folder` (made when missing), or with "-2", "-3", ... after the
    // stem when that name is taken.
    virtual FileWritten WriteNew(const std::filesystem::path& folder, const std::string& stem,
                                 const std::string& extension, ByteView bytes) = 0;
    // Exactly `path`; it fails when a file of that name exists.
    virtual FileWritten WriteNewAt(const std::filesystem::path& path, ByteView bytes) = 0;
};

// A store with the standard library only: no file is replaced, but modes and syncing are
// left to the system's defaults. For tests and simulated worlds.
class PlainFileStore : public FileStore {
public:
    FileWritten WriteNew(const std::filesystem::path& folder, const std::string& stem,
                         const std::string& extension, ByteView bytes) override;
    FileWritten WriteNewAt(const std::filesystem::path& path, ByteView bytes) override;
};

}  // namespace varnow
