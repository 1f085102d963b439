#pragma once

#include <filesystem>

#include "ui/Messenger.h"

namespace varnow {

// Checks a firmware image file by the CRC over its bytes from 16 to the end against the value
// at offset 8. Tells the user itself when the file is unreadable or damaged.
bool VerifyFirmwareImage(const std::filesystem::path& path, Messenger& messenger);

}  // namespace varnow
