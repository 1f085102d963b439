#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "VirtualEventLoop.h"
#include "support/RecordingMessageHost.h"
#include "ui/Host.h"

namespace varnow::testing {

// The user, as a script: shows nothing, records everything, and runs the virtual loop inside
// every modal dialog so that the chains go on underneath as they do under real dialogs.
class ScriptedHost : public Host {
public:
    explicit ScriptedHost(sim::VirtualEventLoop& loop) : m_loop(loop) {}

    // Host
    MessageResult ShowMessage(const Message& message) override;
    void RunProgress(ProgressMode mode, const std::function<void()>& started) override;
    void CloseProgress() override { m_progressClosed = true; }
    void SetProgressText(const std::string& text, bool showBar) override {
        m_progressText = text;
        m_progressBar = showBar;
    }
    void SetProgressTotal(int total) override { m_progressTotal = total; }
    void SetProgressCurrent(int current) override { m_progressSteps.push_back(current); }
    std::optional<std::string> AskLoginPassword() override;
    void RunFirmwareWindow(FirmwareUpgrade& upgrade) override;
    void CloseFirmwareWindow() override { m_firmwareClosedByTool = true; }
    void FirmwareWindowChanged() override;
    void ShowConnected(bool connected) override { m_looks.push_back(connected); }
    void SelectPortInList(const std::string& name) override { m_selectedPort = name; }
    std::string SelectedPort() override { return m_selectedPort; }

    // Forgets what happened (the selected port and the loop stay).
    void Reset();

    // The script
    void SelectPort(std::string port) { m_selectedPort = std::move(port); }
    void AnswerPasswords(std::vector<std::optional<std::string>> answers) {
        m_passwords.assign(answers.begin(), answers.end());
    }
    // How long (virtual time) the user takes to close each message dialog.
    void SetMessageDwellMs(std::uint64_t ms) { m_messageDwellMs = ms; }

    // What happened
    const std::vector<Message>& messages() const { return m_messages; }
    std::vector<int> messageIds() const;
    std::vector<std::uint64_t> messageTimes() const { return m_messageTimes; }
    const std::vector<bool>& looks() const { return m_looks; }
    bool connectedLook() const { return !m_looks.empty() && m_looks.back(); }
    int progressRuns() const { return m_progressRuns; }
    // The progress dialog was left open when nothing more happened, and the user closed it.
    bool userClosedProgress() const { return m_userClosedProgress; }
    int passwordPrompts() const { return m_passwordPrompts; }
    const std::vector<int>& progressSteps() const { return m_progressSteps; }
    int progressTotal() const { return m_progressTotal; }
    const std::string& progressText() const { return m_progressText; }
    int firmwareWindows() const { return m_firmwareWindows; }
    // The bytes-sent values the firmware window showed, each once.
    const std::vector<long long>& firmwareProgress() const { return m_firmwareProgress; }
    // The connect sequence closed the finished firmware window after the board came back.
    bool firmwareClosedByTool() const { return m_firmwareClosedByTool; }

private:
    sim::VirtualEventLoop& m_loop;
    std::string m_selectedPort;
    std::deque<std::optional<std::string>> m_passwords;
    std::uint64_t m_messageDwellMs = 0;
    std::vector<Message> m_messages;
    std::vector<std::uint64_t> m_messageTimes;
    std::vector<bool> m_looks;
    bool m_progressClosed = false;
    bool m_userClosedProgress = false;
    int m_progressRuns = 0;
    int m_passwordPrompts = 0;
    std::string m_progressText;
    bool m_progressBar = false;
    int m_progressTotal = 0;
    std::vector<int> m_progressSteps;
    int m_firmwareWindows = 0;
    int m_firmwareRepaints = 0;
    bool m_firmwareClosedByTool = false;
    FirmwareUpgrade* m_firmware = nullptr;
    std::vector<long long> m_firmwareProgress;
};

}  // namespace varnow::testing
