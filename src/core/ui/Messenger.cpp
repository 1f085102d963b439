#include "ui/Messenger.h"

#include <utility>

namespace varnow {

MessageResult Messenger::Show(int stringId, MessageStyle style,
                              const std::vector<std::string>& args) {
    std::string text = Text(stringId);
    if (!args.empty()) {
        text = FillPlaceholders(text, args);
    }
    return m_host.ShowMessage(Message{stringId, std::move(text), style});
}

MessageResult Messenger::ShowText(std::string text, MessageStyle style) {
    return m_host.ShowMessage(Message{0, std::move(text), style});
}

}  // namespace varnow
