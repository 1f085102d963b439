#include "upload/UploadText.h"

#include "link/ChannelBuffers.h"
#include "base64/Base64Encoder.h"
#include "crypto/Sha1.h"

namespace varnow {

std::string ImageHash(ByteView image) {
    constexpr std::size_t kHashedFrom = 16;
    return ToLowerHex(
        Sha1::Of(image.size() > kHashedFrom ? image.subspan(kHashedFrom) : ByteView{}));
}

bool UploadTextFits(std::size_t imageBytes) {
    return Base64EncodedLength(imageBytes) + 1 <= kBulkBufferSize;
}

std::size_t MaxUploadImageKib() {
    std::size_t kib = kBulkBufferSize / 1024;
    while (kib > 0 && !UploadTextFits(kib * 1024)) {
        --kib;
    }
    return kib;
}

}  // namespace varnow
