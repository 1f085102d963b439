#pragma once

#include <optional>

#include "app/OutcomeText.h"
#include "common/Bytes.h"

namespace varnow {

// What is wrong with a package, in words with the values that show it ("the image head's CRC
// is wrong (stored 0x1A2B, computed 0x3C4D)"); nullopt for a sound one. The texts the desktop
// tool shows for these ("Error[Head CRC]") are its own; this is for people reading a report.
std::optional<OutcomeText> DescribePackageProblem(ByteView package);

}  // namespace varnow
