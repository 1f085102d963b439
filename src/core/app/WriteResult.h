#pragma once

#include <optional>

#include "firmware/FirmwareOutcome.h"
#include "upload/UploadOutcome.h"

namespace varnow {

// What writing a package did: the image (or nothing to upload), then the firmware if the
// package carries one.
struct WriteResult {
    UploadResult upload;
    std::optional<FirmwareResult> firmware;
};

}  // namespace varnow
