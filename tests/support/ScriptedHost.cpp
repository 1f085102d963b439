#include "support/ScriptedHost.h"

#include "firmware/FirmwareUpgrade.h"

namespace varnow::testing {

MessageResult ScriptedHost::ShowMessage(const Message& message) {
    m_messages.push_back(message);
    m_messageTimes.push_back(m_loop.NowMs());
    if (m_messageDwellMs > 0) {
        m_loop.RunFor(m_messageDwellMs);
    }
    return message.style == MessageStyle::Question ? MessageResult::Yes : MessageResult::Ok;
}

void ScriptedHost::RunProgress(ProgressMode mode, const std::function<void()>& started) {
    ++m_progressRuns;
    m_progressClosed = false;
    if (mode != ProgressMode::Password && started) {
        m_loop.Post(10, started);
    }
    if (!m_loop.RunUntil([this] { return m_progressClosed; })) {
        m_userClosedProgress = true;
    }
    m_progressClosed = false;
}

void ScriptedHost::RunFirmwareWindow(FirmwareUpgrade& upgrade) {
    ++m_firmwareWindows;
    m_firmwareClosedByTool = false;
    m_firmware = &upgrade;
    upgrade.Start();
    // The user closes the window once it has failed; a success is closed by the tool.
    m_loop.RunUntil([&] {
        const bool failed = upgrade.outcome() == FirmwareOutcome::Failed ||
                            upgrade.outcome() == FirmwareOutcome::FileRefused;
        return m_firmwareClosedByTool || (failed && upgrade.enabled());
    });
    m_firmware = nullptr;
}

void ScriptedHost::FirmwareWindowChanged() {
    ++m_firmwareRepaints;
    if (m_firmware && !m_firmware->standby() && !m_firmware->finished() &&
        (m_firmwareProgress.empty() || m_firmwareProgress.back() != m_firmware->sent())) {
        m_firmwareProgress.push_back(m_firmware->sent());
    }
}

std::optional<std::string> ScriptedHost::AskLoginPassword() {
    ++m_passwordPrompts;
    if (m_passwords.empty()) {
        return std::nullopt;
    }
    auto answer = m_passwords.front();
    m_passwords.pop_front();
    return answer;
}

void ScriptedHost::Reset() {
    m_passwords.clear();
    m_messageDwellMs = 0;
    m_messages.clear();
    m_messageTimes.clear();
    m_looks.clear();
    m_progressClosed = false;
    m_userClosedProgress = false;
    m_progressRuns = 0;
    m_passwordPrompts = 0;
    m_progressText.clear();
    m_progressBar = false;
    m_progressTotal = 0;
    m_progressSteps.clear();
    m_firmwareWindows = 0;
    m_firmwareRepaints = 0;
    m_firmwareClosedByTool = false;
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
