#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "firmware/FirmwareUpgrade.h"
#include "link/CommandChannel.h"
#include "link/Platform.h"
#include "session/SessionRecord.h"
#include "ui/Host.h"
#include "ui/Messenger.h"

namespace varnow {

class ConnectSequence;
class FirmwareUpgrade;
class IspTransfer;
class LoadedPackage;
class UploadChain;
class ChallengeLogin;
class ChannelTimeouts;
class PortCheck;

// The core of the main window: owns the command channel and the session record, routes the
// platform's arrivals and timer expiries, and runs the command chains against the host.
class Writer : public PlatformListener {
public:
    Writer(Platform& platform, Host& host, const StringTable& strings, Language language);
    ~Writer() override;
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // The Connect command: opens the selected port and identifies the board under the
    // connect progress dialog.
    void Connect();
    // Controls to the disconnected look and the port closed; state, timers and the session
    // record stay as they are.
    void Disconnect();
    // Opens, sets up and arms the port for the board, telling the user what failed.
    bool OpenBoardPort(const std::string& name);
    // Reaches the board's boot loader after it restarted into it (command state 16).
    void ReopenForBootLoader();
    // The Upload command: the package's image into the board, then its firmware if it has one.
    void StartUpload(LoadedPackage& package);
    // Shows the firmware upgrade window for a firmware image file until it closes.
    void RunFirmwareUpgrade(const std::filesystem::path& firmware);

    // The board's USB device came or went, or the machine woke up.
    void OnDeviceArrival() override;
    void OnDeviceRemoval() override;
    void OnResume();

    // The progress dialog, tracked so that failure paths can close it.
    void RunProgress(ProgressMode mode, const std::function<void()>& started);
    bool progressShown() const { return m_progressShown; }
    void CloseProgressIfShown();
    void CancelProgressAndDisconnect();

    Platform& platform() { return m_platform; }
    Host& host() { return m_host; }
    Messenger& messenger() { return m_messenger; }
    CommandChannel& channel() { return m_channel; }
    SessionRecord& session() { return m_session; }
    const SessionRecord& session() const { return m_session; }
    ConnectSequence& connectSequence() { return *m_connect; }
    ChallengeLogin& login() { return *m_login; }
    UploadChain& upload() { return *m_upload; }
    IspTransfer& isp() { return *m_isp; }
    // The firmware upgrade window while it is open, else nullptr.
    FirmwareUpgrade* firmwareWindow() { return m_firmwareWindow; }
    FirmwareOutcome lastFirmwareOutcome() const { return m_firmwareOutcome; }

    ConnectOutcome connectOutcome() const { return m_outcome; }
    void SetConnectOutcome(ConnectOutcome outcome) { m_outcome = outcome; }

    void OnSerialEvent(std::uint32_t events) override;
    void OnTimer(int id) override;

private:
    Platform& m_platform;
    Host& m_host;
    Messenger m_messenger;
    CommandChannel m_channel;
    SessionRecord m_session;
    ConnectOutcome m_outcome = ConnectOutcome::None;
    bool m_progressShown = false;
    std::unique_ptr<ConnectSequence> m_connect;
    std::unique_ptr<ChallengeLogin> m_login;
    std::unique_ptr<ChannelTimeouts> m_timeouts;
    std::unique_ptr<PortCheck> m_portCheck;
    std::unique_ptr<UploadChain> m_upload;
    std::unique_ptr<IspTransfer> m_isp;
    FirmwareUpgrade* m_firmwareWindow = nullptr;
    FirmwareOutcome m_firmwareOutcome = FirmwareOutcome::None;
};

}  // namespace varnow
