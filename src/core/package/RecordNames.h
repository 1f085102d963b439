#pragma once

#include <string>

#include "common/Bytes.h"

namespace varnow {

// The image name from the "a" record of a KOFS image head, or empty. Names longer than 1023
// bytes are cut there.
std::string ImageName(ByteView head);

struct FirmwareNameResult {
    std::string name;        // from the "A" record of the firmware tail block, or empty
    bool malformed = false;  // the walk met a record of length 0 or longer than what is left
};

FirmwareNameResult FirmwareName(ByteView tailBlock);

}  // namespace varnow
