// The image-name walk over a head and the firmware-name walk over a tail block.
#include <cstddef>
#include <cstdint>

#include "package/RecordNames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const varnow::ByteView bytes(data, size);
    if (varnow::ImageName(bytes).size() > 2 * 1023) {
        __builtin_trap();
    }
    const varnow::FirmwareNameResult firmware = varnow::FirmwareName(bytes);
    if (firmware.malformed && !firmware.name.empty()) {
        __builtin_trap();
    }
    return 0;
}
