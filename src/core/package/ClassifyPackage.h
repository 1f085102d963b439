#pragma once

#include <filesystem>

#include "package/PackageFormat.h"
#include "ui/Messenger.h"

namespace varnow {

// Decides what a package holds from its first word and, for a KOFS image, from its size field
// against the file length. Tells the user itself when the file is unreadable or no package.
PackageKind ClassifyPackage(const std::filesystem::path& path, Messenger& messenger);

}  // namespace varnow
