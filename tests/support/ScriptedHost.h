#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "VirtualEventLoop.h"
#include "ui/Host.h"

namespace varnow::testing {

// The user, as a script: shows nothing and records everything, the operations' messages as
// they come among it. Login passwords are answered from the script at once.
class ScriptedHost : public Host, public MessageHost {
public:
    explicit ScriptedHost(sim::VirtualEventLoop& loop) : m_loop(loop) {}

    // Host
    MessageHost* liveMessages() override { return this; }
    MessageResult ShowMessage(const Message& message) override;
    void ProgressShown(const ProgressState& state) override;
    void ProgressChanged(const ProgressState& state) override;
    void ProgressClosed() override { m_progressOpen = false; }
    void AskLoginPassword(bool again, PasswordAnswer answer) override;
    void FirmwareWindowShown(const FirmwareWindowState& state) override;
    void FirmwareWindowChanged(const FirmwareWindowState& state) override;
    void FirmwareWindowClosed() override { m_firmwareOpen = false; }
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

    // What happened
    const std::vector<Message>& messages() const { return m_messages; }
    std::vector<int> messageIds() const;
    std::vector<std::uint64_t> messageTimes() const { return m_messageTimes; }
    const std::vector<bool>& looks() const { return m_looks; }
    bool connectedLook() const { return !m_looks.empty() && m_looks.back(); }
    int progressRuns() const { return m_progressRuns; }
    // A progress dialog is still shown: only its user can close it now.
    bool progressOpen() const { return m_progressOpen; }
    int passwordPrompts() const { return m_passwordPrompts; }
    // The bar's positions while it was shown, each once.
    const std::vector<long long>& progressSteps() const { return m_progressSteps; }
    long long progressTotal() const { return m_progressTotal; }
    const std::string& progressText() const { return m_progressText; }
    int firmwareWindows() const { return m_firmwareWindows; }
    bool firmwareWindowOpen() const { return m_firmwareOpen; }
    const FirmwareWindowState& firmwareWindow() const { return m_firmware; }
    // The bytes-sent values the firmware window showed while transferring, each once.
    const std::vector<long long>& firmwareProgress() const { return m_firmwareProgress; }
    // Whether the last login question said the board had refused a password.
    bool askedAgain() const { return m_askedAgain; }

private:
    sim::VirtualEventLoop& m_loop;
    std::string m_selectedPort;
    std::deque<std::optional<std::string>> m_passwords;
    std::vector<Message> m_messages;
    std::vector<std::uint64_t> m_messageTimes;
    std::vector<bool> m_looks;
    bool m_progressOpen = false;
    int m_progressRuns = 0;
    int m_passwordPrompts = 0;
    std::string m_progressText;
    long long m_progressTotal = 0;
    std::vector<long long> m_progressSteps;
    int m_firmwareWindows = 0;
    bool m_firmwareOpen = false;
    FirmwareWindowState m_firmware;
    std::vector<long long> m_firmwareProgress;
    bool m_askedAgain = false;
};

}  // namespace varnow::testing
