#include "session/Writer.h"

#include "firmware/FirmwareUpgrade.h"
#include "firmware/IspTransfer.h"
#include "link/CommandStates.h"
#include "session/ChannelTimeouts.h"
#include "session/ConnectSequence.h"
#include "session/PortCheck.h"
#include "session/SerialTexts.h"
#include "settings/ChallengeLogin.h"
#include "ui/MessageIds.h"
#include "upload/UploadChain.h"

namespace varnow {
Writer::Writer(Platform& platform, Host& host, const StringTable& strings, Language language)
    : m_platform(platform),
      m_host(host),
      m_messenger(host, strings, language),
      m_channel(platform),
      m_connect(std::make_unique<ConnectSequence>(*this)),
      m_login(std::make_unique<ChallengeLogin>(*this)),
      m_timeouts(std::make_unique<ChannelTimeouts>(*this)),
      m_portCheck(std::make_unique<PortCheck>(*this)),
      m_upload(std::make_unique<UploadChain>(*this)),
      m_isp(std::make_unique<IspTransfer>(*this)) {
    m_platform.SetListener(this);
}

Writer::~Writer() {
    m_platform.SetListener(nullptr);
    if (m_platform.Port().IsOpen()) {
        m_platform.Port().Close();
    }
}

void Writer::Connect() {
    m_connect->Connect();
}

void Writer::Disconnect() {
    m_host.ShowConnected(false);
    if (m_platform.Port().IsOpen()) {
        m_platform.Port().Close();
    }
}

bool Writer::OpenBoardPort(const std::string& name) {
    SerialPort& port = m_platform.Port();
    if (port.Open(name) != kSerialOk) {
        m_messenger.ShowText(kUnableToOpenPort, MessageStyle::Error);
        port.Close();
        return false;
    }
    if (port.Setup() != kSerialOk || port.SetupHandshaking() != kSerialOk) {
        m_messenger.ShowText(kFailToSetupPort, MessageStyle::Warning);
        port.Close();
        return false;
    }
    if (port.SetMask(kConnectEventMask) != kSerialOk) {
        m_messenger.ShowText(kFailToSetupHandshaking, MessageStyle::Warning);
        port.Close();
        return false;
    }
    return true;
}

void Writer::ReopenForBootLoader() {
    const std::string name = m_host.SelectedPort();
    if (name.empty()) {
        m_messenger.Show(kMsgSelectComPort, MessageStyle::Warning);
        return;
    }
    if (!OpenBoardPort(name)) {
        return;
    }
    m_host.ShowConnected(true);
    m_session.portName = name;
    m_platform.Sleep(100);
    // Up to four CRs, further apart each time, until the boot loader's answer moves the state on.
    constexpr int kPauses[] = {200, 500, 1000};
    for (int attempt = 0; attempt < 4; ++attempt) {
        m_platform.PumpEvents();
        if (m_channel.state() != kStateRebootIsp) {
            return;
        }
        m_channel.SendRaw("\r");
        if (attempt < 3) {
            m_platform.Sleep(kPauses[attempt]);
        }
    }
}

void Writer::StartUpload(LoadedPackage& package) {
    m_upload->StartUpload(package);
}

void Writer::RunFirmwareUpgrade(const std::filesystem::path& firmware) {
    FirmwareUpgrade upgrade(*this, firmware);
    m_firmwareWindow = &upgrade;
    m_host.RunFirmwareWindow(upgrade);
    m_platform.CancelTimer(FirmwareUpgrade::kCheckTimer);
    m_platform.CancelTimer(FirmwareUpgrade::kStandbyTimer);
    m_firmwareOutcome = upgrade.outcome();
    m_firmwareWindow = nullptr;
}

void Writer::OnDeviceArrival() {
    m_portCheck->OnDeviceArrival();
}

void Writer::OnDeviceRemoval() {
    m_portCheck->OnDeviceRemoval();
}

void Writer::OnResume() {
    m_portCheck->OnResume();
}

void Writer::RunProgress(ProgressMode mode, const std::function<void()>& started) {
    m_progressShown = true;
    m_host.RunProgress(mode, started);
    m_progressShown = false;
}

void Writer::CloseProgressIfShown() {
    if (m_progressShown) {
        m_host.CloseProgress();
    }
}

void Writer::CancelProgressAndDisconnect() {
    if (m_progressShown) {
        m_host.CloseProgress();
        Disconnect();
    }
}

void Writer::OnSerialEvent(std::uint32_t events) {
    m_channel.HandleArrival(events);
}

void Writer::OnTimer(int id) {
    if (id == kTimerProbe) {
        m_connect->OnProbeTimer();
    } else if (id == FirmwareUpgrade::kCheckTimer || id == FirmwareUpgrade::kStandbyTimer) {
        if (m_firmwareWindow) {
            m_firmwareWindow->OnTimer(id);
        } else {
            m_platform.CancelTimer(id);
        }
    } else {
        m_timeouts->OnTimer(id);
    }
}

}  // namespace varnow
