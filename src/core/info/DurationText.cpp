#include "info/DurationText.h"

#include <cctype>
#include <cstdio>
#include <limits>

namespace varnow {

std::string DurationText(const std::string& pattern, std::int64_t seconds) {
    const std::int64_t days = seconds / 86400;
    const std::int64_t parts[] = {seconds / 3600 - days * 24, seconds / 60 - (seconds / 3600) * 60,
                                  seconds - (seconds / 60) * 60};
    std::string text;
    std::size_t part = 0;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern.compare(i, 5, "%I64d") == 0) {
            text += std::to_string(days);
            i += 5;
        } else if (pattern.compare(i, 4, "%02d") == 0 && part < 3) {
            char two[24];
            std::snprintf(two, sizeof two, "%02lld", static_cast<long long>(parts[part++]));
            text += two;
            i += 4;
        } else {
            text += pattern[i++];
        }
    }
    return text;
}

std::int64_t LeadingDecimal(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    std::int64_t value = 0;
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max() / 10 - 9;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && value < kMost;
         ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

}  // namespace varnow
