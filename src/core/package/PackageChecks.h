#pragma once

#include <cstdint>

#include "common/Bytes.h"
#include "package/PackageFormat.h"

namespace varnow {

// Kind of a package from its first 16 bytes (fewer for a shorter file) and its length:
// Incorrect for anything that is not a package. Never Unreadable: that is for the caller.
PackageKind ClassifyPackageStart(ByteView start, std::uintmax_t fileLength);

struct ImageFrameCheck {
    const char* error = nullptr;  // the text to show, or nullptr when the frame is sound
    std::size_t imageLength = 0;  // 1024 x size field when sound
};

// Checks the KOFS frame of a whole package: head magic and CRC, the image lying inside the
// file, tail magic and CRC.
ImageFrameCheck CheckImageFrame(ByteView package);

// Whether a whole firmware file's image CRC matches its header.
bool FirmwareImageIsSound(ByteView firmware);

}  // namespace varnow
