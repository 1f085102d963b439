#pragma once

#include <string>
#include <vector>

#include "ui/MessageHost.h"
#include "ui/Messenger.h"
#include "ui/StringTable.h"

namespace varnow::testing {

// Keeps every message shown and answers with a preset result.
class RecordingMessageHost : public MessageHost {
public:
    MessageResult ShowMessage(const Message& message) override {
        m_messages.push_back(message);
        return m_answer;
    }
    const std::vector<Message>& messages() const { return m_messages; }
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const auto& message : m_messages) {
            result.push_back(message.text);
        }
        return result;
    }
    void Clear() { m_messages.clear(); }
    void SetAnswer(MessageResult answer) { m_answer = answer; }

private:
    std::vector<Message> m_messages;
    MessageResult m_answer = MessageResult::Ok;
};

// A messenger over a recording host with the built-in English texts.
struct RecordingMessenger {
    RecordingMessageHost host;
    StringTable strings = StringTable::BuiltIn();
    Messenger messenger{host, strings, Language::English};
};

}  // namespace varnow::testing
