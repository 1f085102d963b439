#include "session/ChunkedWrite.h"

#include <algorithm>

namespace varnow {

bool WriteInChunks(BoardLink& link, std::string_view text, std::size_t chunkSize, int mostStalls) {
    std::size_t at = 0;
    int stalls = 0;
    while (at < text.size()) {
        if (!link.portOpen()) {
            return false;
        }
        const std::size_t written =
            link.channel().SendRaw(text.substr(at, std::min(chunkSize, text.size() - at)));
        if (written == 0 && ++stalls > mostStalls) {
            return false;
        }
        at += written;
    }
    return true;
}

}  // namespace varnow
