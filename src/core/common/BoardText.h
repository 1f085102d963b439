#pragma once

#include <string>

#include "common/Bytes.h"

namespace varnow {

// Texts inside the board's blocks and replies are single bytes in the code page of the PC that
// wrote them. Bytes that form valid UTF-8 are taken as UTF-8; anything else is read as
// Latin-1, so that every byte still shows as one character and nothing is dropped.
std::string BoardTextToUtf8(ByteView bytes);

// The bytes up to (not including) the first NUL.
ByteView UpToFirstNul(ByteView bytes);

}  // namespace varnow
