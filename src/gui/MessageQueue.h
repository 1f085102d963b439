#pragma once

#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "CDlgMessage.h"
#include "UiText.h"
#include "ui/MessageHost.h"
#include "ui/Messenger.h"

namespace varnow::gui {

// Every message of the desktop tool goes through here: one at a time, never one over another,
// each shown without a loop of its own (the window's loop goes on underneath, and nothing of
// an operation can run inside a message). A question's answer comes to its callback.
class MessageQueue : public QObject, public MessageHost {
public:
    using Answer = std::function<void(MessageResult)>;

    // `owner`: the window a message is shown over when no modal window is up.
    MessageQueue(const UiText& ui, std::function<QWidget*()> owner);
    ~MessageQueue() override;

    // After the messages before it; `then` hears the button its user chose.
    void Show(const Message& message, Answer then = {});
    void Show(int stringId, MessageStyle style, const std::vector<std::string>& args = {},
              Answer then = {});
    // An operation's messages, in their order.
    void Present(const std::vector<Message>& messages);
    // MessageHost, for what says something through a Messenger: shown in turn, answered Ok.
    MessageResult ShowMessage(const Message& message) override;

    Messenger& messenger() { return m_messenger; }
    // The message shown now, if one is.
    CDlgMessage* current() const { return m_current; }
    bool idle() const { return !m_current && m_pending.empty(); }
    // Closes what is shown and forgets the rest: their callbacks are not called.
    void Clear();

private:
    struct Pending {
        Message message;
        Answer then;
    };
    void ShowNext();

    const UiText& m_ui;
    std::function<QWidget*()> m_owner;
    Messenger m_messenger;
    std::deque<Pending> m_pending;
    QPointer<CDlgMessage> m_current;
};

}  // namespace varnow::gui
