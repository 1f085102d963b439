#include "common/BoardText.h"

#include <algorithm>

namespace varnow {
namespace {

bool IsValidUtf8(ByteView bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = bytes[i];
        std::size_t extra = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i <= extra) {
            return false;
        }
        std::uint32_t code = lead & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

}  // namespace

std::string BoardTextToUtf8(ByteView bytes) {
    if (IsValidUtf8(bytes)) {
        return AsText(bytes);
    }
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        if (byte < 0x80) {
            text.push_back(static_cast<char>(byte));
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}

ByteView UpToFirstNul(ByteView bytes) {
    const auto nul = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes.first(static_cast<std::size_t>(nul - bytes.begin()));
}

}  // namespace varnow
