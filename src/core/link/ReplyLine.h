#pragma once

#include <string>
#include <string_view>

namespace varnow {

// One completed reply line: its bytes without STX and CR, as the board sent them.
struct ReplyLine {
    std::string text;
    bool framed = false;  // the line began with STX

    bool empty() const { return text.empty(); }
    // Replies are recognised by a fixed number of leading characters, never by the whole line.
    bool StartsWith(std::string_view prefix) const { return text.starts_with(prefix); }
};

}  // namespace varnow
