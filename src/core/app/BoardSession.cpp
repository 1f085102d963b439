#include "app/BoardSession.h"

#include <utility>

#include "ui/MessageIds.h"

namespace varnow {

BoardSession::BoardSession(Platform& platform, Host& host, const StringTable& strings,
                           Language language)
    : m_platform(platform),
      m_status(host),
      m_messenger(host, strings, language),
      m_link(platform, host, host, m_messenger),
      m_connect(m_link, m_messenger, host),
      m_upload(m_link, m_messenger),
      m_isp(m_link, m_messenger),
      m_portCheck(
          m_link, [this] { Connect(); },
          [this] { ShowStatus(OutcomeText{kErrPortVanished, {}}); }),
      m_return(platform, [this] { m_portCheck.ConnectIfBack(); }),
      m_firmware(platform, m_messenger, host, m_isp,
                 [this](auto returned) { m_return.Await(std::move(returned)); }) {
    m_platform.SetListener(this);
}

BoardSession::~BoardSession() {
    m_platform.SetListener(nullptr);
    if (m_link.portOpen()) {
        m_link.port().Close();
    }
}

void BoardSession::Connect(ConnectDone done) {
    if (done) {
        m_connectWaiters.push_back(std::move(done));
    }
    if (!m_connect.running()) {
        m_connect.Start(m_isp.waitingForBootLoader(),
                        [this](const ConnectResult& result) { OnConnectEnded(result); });
    }
}

void BoardSession::ShowStatus(const OutcomeText& text) {
    m_status.ShowStatus(FillPlaceholders(m_messenger.Text(text.stringId), text.args));
}

void BoardSession::OnConnectEnded(const ConnectResult& result) {
    m_lastConnect = result;
    ++m_connectsEnded;
    const SessionRecord& session = m_link.session();
    ShowStatus(ConnectStatus(result, session.portName.empty() ? m_link.view().SelectedPort()
                                                               : session.portName,
                             session.fibId));
    m_isp.OnConnectEnded(result.code == ConnectOutcome::IspMode);
    m_return.OnConnectEnded(result);
    for (const ConnectDone& done : std::exchange(m_connectWaiters, {})) {
        done(result);
    }
}

void BoardSession::Abort() {
    m_link.channel().End();
    m_link.progress().Close();
    m_link.Disconnect();
}

void BoardSession::Disconnect() {
    m_link.Disconnect();
    ShowStatus(OutcomeText{kStatusDisconnected, {}});
}

void BoardSession::Upload(LoadedPackage& package, WriteDone done) {
    const std::string path = package.packagePath().string();
    auto ended = [this, path, done](const WriteResult& result) {
        ShowStatus(WriteStatus(result, m_link.session().portName, path, m_upload.imageName(),
                               m_upload.imageHash()));
        if (done) {
            done(result);
        }
    };
    m_upload.Start(package, [this, ended](const UploadResult& upload) {
        if (upload.firmware.empty()) {
            return ended(WriteResult{upload, std::nullopt});
        }
        m_firmware.Start(upload.firmware, [upload, ended](const FirmwareResult& firmware) {
            ended(WriteResult{upload, firmware});
        });
    });
}

void BoardSession::UpgradeFirmware(std::filesystem::path firmware, FirmwareDone done) {
    const std::string path = firmware.string();
    m_firmware.Start(std::move(firmware), [this, path, done](const FirmwareResult& result) {
        ShowStatus(FirmwareStatus(result, m_link.session().portName, path));
        if (done) {
            done(result);
        }
    });
}

}  // namespace varnow
