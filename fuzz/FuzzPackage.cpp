// Package classification and KOFS frame checks on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "package/PackageChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const varnow::ByteView bytes(data, size);
    varnow::ClassifyPackageStart(bytes.first(size < 16 ? size : 16), size);
    const varnow::ImageFrameCheck frame = varnow::CheckImageFrame(bytes);
    if (frame.error == nullptr && (frame.imageLength > size || frame.imageLength < 16)) {
        __builtin_trap();
    }
    if (frame.error == nullptr && frame.imageLength < size) {
        varnow::FirmwareImageIsSound(bytes.subspan(frame.imageLength));
    }
    varnow::FirmwareImageIsSound(bytes);
    return 0;
}
