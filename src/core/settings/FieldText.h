#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/Utf8Text.h"

namespace varnow {

// Why a text does not fit a text field of the board's block, which holds its UTF-8 bytes.
enum class FieldTextProblem { None, TooLong, ControlCharacter };

inline FieldTextProblem CheckFieldText(std::string_view text, std::size_t byteLimit) {
    const bool control = std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    if (control) {
        return FieldTextProblem::ControlCharacter;
    }
    return text.size() > byteLimit ? FieldTextProblem::TooLong : FieldTextProblem::None;
}

// The values of a too-long message: the limit in bytes, the text's characters and bytes.
inline std::vector<std::string> TooLongArgs(std::string_view text, std::size_t byteLimit) {
    return {std::to_string(byteLimit), std::to_string(Utf8Characters(text)),
            std::to_string(text.size())};
}

}  // namespace varnow
