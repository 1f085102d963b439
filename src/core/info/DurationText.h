#pragma once

#include <cstdint>
#include <string>

namespace varnow {

// A span of seconds as the board's tools show it: the pattern "%I64ddays / %02d:%02d:%02d"
// (or its translation) filled with days, hours, minutes and seconds.
std::string DurationText(const std::string& pattern, std::int64_t seconds);

// A decimal number as the C library reads one: leading white space and a sign are taken,
// reading stops at the first non-digit, no digits give 0.
std::int64_t LeadingDecimal(const std::string& text);

}  // namespace varnow
