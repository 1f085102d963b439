#pragma once

#include <vector>

#include "ui/MessageHost.h"

namespace varnow {

// The messages of one operation: kept in order for its result, and handed to the front end's
// live view as they come, if it has one. Nobody answers them: an operation never waits on a
// message.
class MessageLog : public MessageHost {
public:
    explicit MessageLog(MessageHost* live = nullptr) : m_live(live) {}

    MessageResult ShowMessage(const Message& message) override {
        m_messages.push_back(message);
        if (m_live != nullptr) {
            m_live->ShowMessage(message);
        }
        return MessageResult::Ok;
    }
    const std::vector<Message>& messages() const { return m_messages; }

private:
    MessageHost* m_live;
    std::vector<Message> m_messages;
};

}  // namespace varnow
