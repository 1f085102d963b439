#pragma once

#include <cstddef>
#include <string>

#include "common/Bytes.h"

namespace varnow {

// Base64 with the standard alphabet and "=" padding, as the board reads it: CR LF after every
// 19th full group of four characters (every 76 characters), also after the last group when it
// is full; a final partial group ends in "=" or "==" and is never followed by CR LF.
std::string EncodeBase64(ByteView bytes);

// Number of characters EncodeBase64 produces for `byteCount` bytes, line breaks included.
std::size_t Base64EncodedLength(std::size_t byteCount);

}  // namespace varnow
