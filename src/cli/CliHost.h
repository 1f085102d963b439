#pragma once

#include <QTimer>
#include <optional>
#include <string>

#include "CliOutput.h"
#include "ui/Host.h"
#include "ui/StringTable.h"

namespace varnow::cli {

// The command line as the core's host: messages and progress through CliOutput, the password
// from --password (offered once) or from the terminal without echo. It shows no windows: the
// commands wait for the operations' outcomes.
class CliHost : public Host {
public:
    CliHost(CliOutput& output, const StringTable& strings, Language language, std::string port,
            std::optional<std::string> password);
    ~CliHost() override;
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    // The password for the next login (after a password change), offered once; `mayPrompt`:
    // whether the terminal may be asked when there is none.
    void UsePassword(std::optional<std::string> password, bool mayPrompt);

    MessageResult ShowMessage(const Message& message) override;
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
    std::optional<std::string> AskLoginPassword() override;
    // The command line ends with its own result and error lines.
    void ShowStatus(const std::string&) override {}

private:
    void ShowProgress(const ProgressState& state);
    std::string Text(int id) const { return m_strings.Text(id, m_language); }

    CliOutput& m_output;
    const StringTable& m_strings;
    Language m_language;
    std::string m_port;
    std::optional<std::string> m_password;
    bool m_passwordOffered = false;
    bool m_mayPrompt = true;
    // A spinner line is repainted while its work goes on without news (an RSA key being made).
    QTimer m_spin;
    ProgressLine m_spinning;
};

}  // namespace varnow::cli
