#include "app/BoardSession.h"

#include <utility>

namespace varnow {

BoardSession::BoardSession(Platform& platform, Host& host, const StringTable& strings,
                           Language language)
    : m_platform(platform),
      m_messenger(host, strings, language),
      m_link(platform, host, host, m_messenger),
      m_connect(m_link, m_messenger, host),
      m_upload(m_link, m_messenger),
      m_isp(m_link, m_messenger),
      m_portCheck(m_link, [this] { Connect(); }),
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

void BoardSession::OnConnectEnded(const ConnectResult& result) {
    m_lastConnect = result;
    ++m_connectsEnded;
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
}

void BoardSession::Upload(LoadedPackage& package, WriteDone done) {
    m_upload.Start(package, [this, done](const UploadResult& upload) {
        if (upload.firmware.empty()) {
            if (done) {
                done(WriteResult{upload, std::nullopt});
            }
            return;
        }
        UpgradeFirmware(upload.firmware, [upload, done](const FirmwareResult& firmware) {
            if (done) {
                done(WriteResult{upload, firmware});
            }
        });
    });
}

void BoardSession::UpgradeFirmware(std::filesystem::path firmware, FirmwareDone done) {
    m_firmware.Start(std::move(firmware), [done](const FirmwareResult& result) {
        if (done) {
            done(result);
        }
    });
}

}  // namespace varnow
