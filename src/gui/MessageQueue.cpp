#include "MessageQueue.h"

#include <QApplication>
#include <QTimer>

namespace varnow::gui {

MessageQueue::MessageQueue(const UiText& ui, std::function<QWidget*()> owner)
    : m_ui(ui), m_owner(std::move(owner)), m_messenger(*this, ui.strings(), ui.language()) {}

MessageQueue::~MessageQueue() {
    Clear();
}

void MessageQueue::Show(const Message& message, Answer then) {
    m_pending.push_back({message, std::move(then)});
    if (!m_current) {
        ShowNext();
    }
}

void MessageQueue::Show(int stringId, MessageStyle style, const std::vector<std::string>& args,
                        Answer then) {
    std::string text = m_messenger.Text(stringId);
    if (!args.empty()) {
        text = FillPlaceholders(text, args);
    }
    Show(Message{stringId, std::move(text), style}, std::move(then));
}

void MessageQueue::Present(const std::vector<Message>& messages) {
    for (const Message& message : messages) {
        Show(message);
    }
}

MessageResult MessageQueue::ShowMessage(const Message& message) {
    Show(message);
    return MessageResult::Ok;
}

void MessageQueue::Clear() {
    m_pending.clear();
    if (CDlgMessage* shown = m_current) {
        m_current = nullptr;
        shown->disconnect(this);
        shown->deleteLater();
    }
}

void MessageQueue::ShowNext() {
    if (m_pending.empty()) {
        return;
    }
    Pending next = std::move(m_pending.front());
    m_pending.pop_front();
    // Over whatever modal window is up, else over the window of what is going on.
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) {
        owner = m_owner();
    }
    auto* dialog = new CDlgMessage(owner, QString::fromStdString(next.message.text),
                                   static_cast<unsigned>(next.message.style), m_ui);
    dialog->setWindowModality(Qt::ApplicationModal);
    m_current = dialog;
    connect(dialog, &QDialog::finished, this,
            [this, dialog, then = std::move(next.then)](int result) {
                if (m_current == dialog) {
                    m_current = nullptr;
                }
                dialog->deleteLater();
                if (then) {
                    then(static_cast<MessageResult>(result));
                }
                // The next one once this one has gone, from the loop.
                QTimer::singleShot(0, this, [this] {
                    if (!m_current) {
                        ShowNext();
                    }
                });
            });
    dialog->show();
}

}  // namespace varnow::gui
