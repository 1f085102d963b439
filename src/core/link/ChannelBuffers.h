#pragma once

#include <cstddef>

namespace varnow {

// Sizes of the command channel's buffers, allocated once with the main window.
inline constexpr std::size_t kLineBufferSize = 4096;
inline constexpr std::size_t kReadChunkSize = 4095;
inline constexpr std::size_t kBulkBufferSize = 5242880;  // 5 MiB: upload text, bulk replies
inline constexpr std::size_t kTailBufferSize = 1048576;

}  // namespace varnow
