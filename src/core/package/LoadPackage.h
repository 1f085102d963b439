#pragma once

#include <filesystem>

#include "package/LoadedPackage.h"
#include "ui/Messenger.h"

namespace varnow {

// Folder and name of the firmware split off a combined package, inside the app-data folder.
inline constexpr const char* kExtractFolderName = "VarnoW";
inline constexpr const char* kExtractedFirmwareName = "varnofw.qvk";

// Checks the KOFS frame (head and tail magic and CRCs) of the package at the package path and
// keeps a copy of the image; a firmware image that follows is written to
// <appDataFolder>/VarnoW/varnofw.qvk. On a failure before the image is kept nothing changes.
bool LoadPackage(LoadedPackage& package, const std::filesystem::path& appDataFolder,
                 Messenger& messenger);

}  // namespace varnow
