#pragma once

#include <filesystem>
#include <string>

#include "files/FileStore.h"

namespace varnow::platform {

// The machine's store of the tool's files: folders it makes are its user's alone (0700),
// files are created that way (0600), written to a temporary file in the same folder, synced,
// and given their name only when whole; a name that is taken is never replaced.
class PrivateFileStore : public FileStore {
public:
    FileWritten WriteNew(const std::filesystem::path& folder, const std::string& stem,
                         const std::string& extension, ByteView bytes) override;
    FileWritten WriteNewAt(const std::filesystem::path& path, ByteView bytes) override;
};

// Makes the folders of `folder` that are missing, each for its user alone; the reason when it
// cannot.
std::string MakePrivateFolders(const std::filesystem::path& folder);

// Makes sure a file the user named for the tool's output (a log, a trace) exists and, when it
// is made here, is its user's alone; `truncate` empties one that exists. The reason when it
// cannot be.
std::string PreparePrivateFile(const std::filesystem::path& path, bool truncate);

}  // namespace varnow::platform
