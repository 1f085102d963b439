#pragma once

#include <string_view>

#include "session/BoardLink.h"

namespace varnow {

// Writes a bulk text to the board in chunks of at most `chunkSize` bytes, each starting at the
// first byte not yet taken. A write that moves nothing is a stall and is tried again. False,
// with the rest unsent, when the port closes or after more than `mostStalls` stalls.
bool WriteInChunks(BoardLink& link, std::string_view text, std::size_t chunkSize, int mostStalls);

}  // namespace varnow
