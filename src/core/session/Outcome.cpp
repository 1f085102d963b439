#include "session/Outcome.h"

namespace varnow {

std::string CommandName(const std::string& text) {
    const auto first = text.find_first_not_of('\r');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of('\r');
    return text.substr(first, last - first + 1);
}

}  // namespace varnow
