#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnow {

// Characters of a UTF-8 text as an edit control counts them (not bytes).
inline std::size_t Utf8Characters(std::string_view text) {
    std::size_t characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return characters;
}

// The first `limit` characters of a UTF-8 text, never cutting one in two.
inline std::string Utf8Prefix(std::string text, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > limit) {
            text.resize(i);
            break;
        }
    }
    return text;
}

}  // namespace varnow
