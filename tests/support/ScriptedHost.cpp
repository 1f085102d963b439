#include "support/ScriptedHost.h"

namespace varnow::testing {

MessageResult ScriptedHost::ShowMessage(const Message& message) {
    m_messages.push_back(message);
    m_messageTimes.push_back(m_loop.NowMs());
    return MessageResult::Ok;
}

void ScriptedHost::ProgressShown(const ProgressState& state) {
    ++m_progressRuns;
    m_progressOpen = true;
    ProgressChanged(state);
}

void ScriptedHost::ProgressChanged(const ProgressState& state) {
    m_progressText = state.text;
    m_progressTotal = state.total;
    if (state.showBar && (m_progressSteps.empty() || m_progressSteps.back() != state.current)) {
        m_progressSteps.push_back(state.current);
    }
}

void ScriptedHost::FirmwareWindowShown(const FirmwareWindowState& state) {
    ++m_firmwareWindows;
    m_firmwareOpen = true;
    FirmwareWindowChanged(state);
}

void ScriptedHost::FirmwareWindowChanged(const FirmwareWindowState& state) {
    m_firmware = state;
    if (!state.standby && !state.finished &&
        (m_firmwareProgress.empty() || m_firmwareProgress.back() != state.sent)) {
        m_firmwareProgress.push_back(state.sent);
    }
}

void ScriptedHost::AskLoginPassword(bool again, PasswordAnswer answer) {
    ++m_passwordPrompts;
    m_askedAgain = again;
    if (m_passwords.empty()) {
        return answer(std::nullopt);
    }
    auto password = m_passwords.front();
    m_passwords.pop_front();
    answer(std::move(password));
}

void ScriptedHost::Reset() {
    m_passwords.clear();
    m_messages.clear();
    m_messageTimes.clear();
    m_looks.clear();
    m_progressOpen = false;
    m_progressRuns = 0;
    m_passwordPrompts = 0;
    m_progressText.clear();
    m_progressTotal = 0;
    m_progressSteps.clear();
    m_firmwareWindows = 0;
    m_firmwareOpen = false;
    m_firmware = {};
    m_firmwareProgress.clear();
}

std::vector<int> ScriptedHost::messageIds() const {
    std::vector<int> ids;
    for (const auto& message : m_messages) {
        ids.push_back(message.stringId);
    }
    return ids;
}

}  // namespace varnow::testing
