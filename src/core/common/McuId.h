#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace varnow {

// A board's MCU id as the board sends it: exactly 40 hexadecimal digits. Anything else is a
// damaged read, from which no key, file name or record may be derived.
inline bool IsMcuId(std::string_view text) {
    return text.size() == 40 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

}  // namespace varnow
