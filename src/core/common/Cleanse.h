#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace varnow {

// Overwrites secrets (passwords, keys) with zeros in a way the compiler may not leave out, so
// that they do not linger in memory after use.
inline void Cleanse(void* data, std::size_t size) {
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = 0;
    }
}

inline void Cleanse(std::string& text) {
    Cleanse(text.data(), text.size());
    text.clear();
}

template <typename T, std::size_t N>
void Cleanse(std::span<T, N> bytes) {
    Cleanse(bytes.data(), bytes.size_bytes());
}

}  // namespace varnow
