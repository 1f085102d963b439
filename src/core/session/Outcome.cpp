#include "session/Outcome.h"

namespace varnow {

std::string CommandName(const std::string& text) {
    const auto first = text.find_first_not_of('\r');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of('\r');
    const std::string name = text.substr(first, last - first + 1);
    // The arguments of the login answer and of the password command are derived from the
    // password: people read the command without them.
    for (const char* secret : {"auth hash", "reboot psk"}) {
        if (name.starts_with(secret)) {
            return secret;
        }
    }
    return name;
}

}  // namespace varnow
