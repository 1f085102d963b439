// The bulk-reply decoder on arbitrary text, and encoder-decoder round trips of arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "base64/Base64Decoder.h"
#include "base64/Base64Encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const varnow::ByteView bytes(data, size);
    if (varnow::DecodeBase64(bytes).size() > (size + 3) / 4 * 3) {
        __builtin_trap();
    }
    const std::string text = varnow::EncodeBase64(bytes);
    if (text.size() != varnow::Base64EncodedLength(size) ||
        varnow::DecodeBase64(varnow::AsBytes(text)) != varnow::Bytes(bytes.begin(), bytes.end())) {
        __builtin_trap();
    }
    return 0;
}
