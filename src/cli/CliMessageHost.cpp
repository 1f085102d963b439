#include "CliMessageHost.h"

#include <string>

namespace varnow::cli {

MessageResult CliMessageHost::ShowMessage(const Message& message) {
    std::string text;
    for (char c : message.text) {
        if (c != '\r') {
            text.push_back(c);
        }
    }
    m_out << StyleName(message.style) << ": " << text << "\n";
    return message.style == MessageStyle::Question ? MessageResult::No : MessageResult::Ok;
}

}  // namespace varnow::cli
