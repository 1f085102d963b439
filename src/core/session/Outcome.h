#pragma once

#include <string>

namespace varnow {

// How a chain ended: its code, and for a time-out or a stall the command that got no answer
// in time (as written, without its CRs). Where the machine said why (a port that would not
// open), its error number and words.
template <typename Code>
struct Outcome {
    Code code{};
    std::string command;
    int error = 0;
    std::string reason;

    bool operator==(Code other) const { return code == other; }
};

// "\rset esc 02\r" -> "set esc 02": a command as people read it.
std::string CommandName(const std::string& text);

}  // namespace varnow
