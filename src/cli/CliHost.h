#pragma once

#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "CliOutput.h"
#include "common/Cleansed.h"
#include "ui/Host.h"
#include "ui/StringTable.h"

namespace varnow::cli {

// The command line as the core's host: progress through CliOutput, the operations' messages
// as they come, and the login password from its source (offered once) or from the terminal
// without echo. It shows no windows: the commands wait for the operations' results.
class CliHost : public Host, private MessageHost {
public:
    CliHost(CliOutput& output, const StringTable& strings, Language language, std::string port,
            std::optional<std::string> password);
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    // Whether the terminal may be asked when no password is given (a station's boards may not).
    void AllowPrompt(bool allowed) { m_mayPrompt = allowed; }
    // Ctrl-C at a password prompt: the command is interrupted.
    void OnPromptInterrupted(std::function<void()> interrupted) {
        m_interrupted = std::move(interrupted);
    }

    // The password this command last answered a login with (the board took it when the
    // connect that asked ended identified); wiped with the host.
    std::optional<std::string> lastLoginPassword() const {
        return m_lastAnswer ? std::optional<std::string>(m_lastAnswer->get()) : std::nullopt;
    }

    MessageHost* liveMessages() override { return this; }
    void ProgressShown(const ProgressState& state) override { ShowProgress(state); }
    void ProgressChanged(const ProgressState& state) override { ShowProgress(state); }
    void ProgressClosed() override {
        m_spin.stop();
        m_output.EndProgress();
    }
    void FirmwareWindowShown(const FirmwareWindowState& state) override;
    void FirmwareWindowChanged(const FirmwareWindowState& state) override;
    void FirmwareWindowClosed() override { m_output.EndProgress(); }
    void ShowConnected(bool) override {}
    std::string SelectedPort() override { return m_port; }
    void SelectPortInList(const std::string&) override {}
    void AskLoginPassword(bool again, PasswordAnswer answer) override;

private:
    MessageResult ShowMessage(const Message& message) override;
    void ShowProgress(const ProgressState& state);
    std::string Text(int id) const { return m_strings.Text(id, m_language); }

    CliOutput& m_output;
    const StringTable& m_strings;
    Language m_language;
    std::string m_port;
    std::optional<Cleansed<std::string>> m_password;
    bool m_passwordOffered = false;
    std::optional<Cleansed<std::string>> m_lastAnswer;
    bool m_mayPrompt = true;
    std::function<void()> m_interrupted;
    // A spinner line is repainted while its work goes on without news (an RSA key being made).
    QTimer m_spin;
    ProgressLine m_spinning;
};

}  // namespace varnow::cli
