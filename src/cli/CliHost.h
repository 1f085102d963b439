#pragma once

#include <QEventLoop>
#include <functional>
#include <optional>
#include <string>

#include "CliOutput.h"
#include "ui/Host.h"
#include "ui/StringTable.h"

namespace varnow::cli {

// The command line as the core's host: messages and progress through CliOutput, the password
// from --password (offered once) or from the terminal without echo.
class CliHost : public Host {
public:
    CliHost(CliOutput& output, const StringTable& strings, Language language, std::string port,
            std::optional<std::string> password);

    // Tells whether the chain has ended; an open progress dialog is then closed, as a user
    // would close a dialog that has stopped moving.
    void SetChainEnded(std::function<bool()> ended) { m_chainEnded = std::move(ended); }
    bool connected() const { return m_connected; }

    MessageResult ShowMessage(const Message& message) override;
    void RunProgress(ProgressMode mode, const std::function<void()>& started) override;
    void CloseProgress() override;
    void SetProgressText(const std::string& text, bool showBar) override;
    void SetProgressTotal(int total) override { m_total = total; }
    void SetProgressCurrent(int current) override;
    std::optional<std::string> AskLoginPassword() override;
    void RunFirmwareWindow(FirmwareUpgrade& upgrade) override;
    void CloseFirmwareWindow() override;
    void FirmwareWindowChanged() override;
    void ShowConnected(bool connected) override { m_connected = connected; }
    void SelectPortInList(const std::string&) override {}
    std::string SelectedPort() override { return m_port; }

private:
    std::optional<std::string> ReadPasswordFromTerminal();

    CliOutput& m_output;
    const StringTable& m_strings;
    Language m_language;
    std::string m_port;
    std::optional<std::string> m_password;
    bool m_passwordOffered = false;
    std::function<bool()> m_chainEnded;
    QEventLoop* m_progressLoop = nullptr;
    QEventLoop* m_firmwareLoop = nullptr;
    FirmwareUpgrade* m_firmware = nullptr;
    bool m_progressClosed = false;
    std::string m_progressText;
    int m_total = 0;
    int m_current = 0;
    int m_frame = 0;
    bool m_connected = false;
};

}  // namespace varnow::cli
