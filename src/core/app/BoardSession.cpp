#include "app/BoardSession.h"

#include <chrono>
#include <utility>

#include "certs/RsaKeyMaker.h"
#include "settings/EnvironmentBlock.h"
#include "settings/SettingsBackup.h"
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
      m_settingsRead(m_link, m_messenger),
      m_settingsWrite(m_link, m_messenger),
      m_certRead(m_link, m_messenger),
      m_certWrite(m_link, m_messenger),
      m_certStore(m_certRead, m_certWrite, m_messenger),
      m_productInfo(m_link, m_messenger),
      m_networkInfo(m_link, m_messenger),
      m_portCheck(
          m_link, [this] { Connect(); },
          [this] {
              ShowStatus(OutcomeText{kErrPortVanished, {}});
          }),
      m_return(
          platform, m_link.session(), [this] { m_portCheck.ConnectIfBack(); },
          [this] { return PortBack(); }),
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
    ShowStatus(ConnectStatus(
        result, session.portName.empty() ? m_link.view().SelectedPort() : session.portName,
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

void BoardSession::Upload(LoadedPackage& package, WriteDone done, UploadOptions options) {
    const std::string path = package.packagePath().string();
    auto ended = [this, path, done](const WriteResult& result) {
        ShowStatus(WriteStatus(result, m_link.session().portName, path, m_upload.imageName(),
                               m_upload.imageHash()));
        if (done) {
            done(result);
        }
    };
    m_upload.Start(package, options, [this, ended](const UploadResult& upload) {
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

namespace varnow {

bool BoardSession::PortBack() {
    const std::string& port = m_link.session().portName;
    return !m_link.portOpen() && !port.empty() && m_platform.ProbePort(port) == PortProbe::Free;
}

void BoardSession::ReadSettings(SettingsReadDone done) {
    if (m_link.session().isp) {
        m_messenger.Show(kMsgIspModeRefusal, MessageStyle::Warning);
        return done(Outcome<SettingsReadOutcome>{SettingsReadOutcome::IspMode}, {});
    }
    m_settingsRead.Start(std::move(done));
}

void BoardSession::ReadCertificates(CertificatesDone done) {
    m_certRead.Start(std::move(done));
}

void BoardSession::StoreCertificate(const TlsIdentity& identity,
                                    const CertificateRecordStore& current,
                                    CertificateStoreDone done) {
    m_certStore.Start(identity, current, std::move(done));
}

void BoardSession::MakeRsaKey(int bits, KeyDone done) {
    m_makingKey = true;
    m_link.progress().Show(ProgressMode::MakingKey, m_messenger.Text(kTextMakingKey));
    auto key = std::make_shared<std::optional<PrivateKey>>();
    const std::weak_ptr<bool> alive = m_alive;
    m_platform.RunInBackground([key, bits] { *key = GenerateRsaKey(bits); },
                               [this, alive, key, done = std::move(done)] {
                                   if (alive.expired()) {
                                       return;
                                   }
                                   m_makingKey = false;
                                   m_link.progress().Close();
                                   done(std::move(*key));
                               });
}

void BoardSession::WriteSettings(EnvironmentData edited, SettingsWriteDone done) {
    const Bytes asRead = edited.blockCopy;
    std::optional<Bytes> block = PatchEnvironmentBlock(edited);
    if (!block) {
        m_messenger.Show(kMsgChangeValuesFailed, MessageStyle::Warning);
        return done(SettingsWriteResult{{SettingsWriteOutcome::Unencodable}});
    }
    SaveAndWrite(asRead, std::move(*block), std::move(done));
}

void BoardSession::WriteBlock(Bytes block, Bytes asRead, SettingsWriteDone done) {
    SaveAndWrite(asRead, std::move(block), std::move(done));
}

void BoardSession::SaveAndWrite(const Bytes& asRead, Bytes block, SettingsWriteDone done) {
    const SessionRecord& session = m_link.session();
    if (session.isp || !m_link.portOpen()) {
        m_messenger.Show(session.isp ? kMsgIspModeRefusal : kMsgOpenComPort, MessageStyle::Warning);
        return done(SettingsWriteResult{
            {session.isp ? SettingsWriteOutcome::IspMode : SettingsWriteOutcome::NoBoard}});
    }
    const auto now = std::chrono::system_clock::now();
    const SettingsBackup backup{session.mcuId, session.portName, Iso8601(now), asRead};
    const std::filesystem::path path =
        SettingsBackup::PathFor(m_platform.AppDataFolder(), session.mcuId, now);
    std::string problem;
    if (!backup.Write(path, problem)) {
        SettingsWriteResult result{{SettingsWriteOutcome::BackupFailed}, path};
        result.outcome.reason = problem;
        return done(result);
    }
    const std::optional<std::string> text = EnvironmentText(block);
    if (!text) {
        m_messenger.Show(kMsgChangeValuesFailed, MessageStyle::Warning);
        return done(SettingsWriteResult{{SettingsWriteOutcome::Unencodable}, path});
    }
    m_settingsWrite.Start(*text, [this, path, block = std::move(block), done](const auto& outcome) {
        const bool written = outcome.code == SettingsWriteOutcome::Written;
        ShowStatus(written ? OutcomeText{kStatusSettingsWritten, {path.string()}}
                           : OutcomeText{kStatusSettingsNotWritten, {}});
        done(SettingsWriteResult{outcome, path, block});
    });
}

void BoardSession::RebootBoard(ReturnDone done) {
    SessionRecord& session = m_link.session();
    session.reconnectPending = true;
    m_link.channel().SendRaw(session.isp ? "rs 10\r" : "reboot sys 100\r");
    m_link.Disconnect();
    m_return.Await([this, done](const std::optional<ConnectResult>& connect) {
        if (!connect) {
            ShowStatus(OutcomeText{kErrNotBackAfterRestart, {}});
        }
        if (done) {
            done(connect);
        }
    });
}

void BoardSession::ChangePassword(const std::string& command, bool reconnect, PasswordDone done) {
    SessionRecord& session = m_link.session();
    session.ignoreNextArrival = !reconnect;
    session.reconnectPending = reconnect;
    m_link.channel().SendRaw(command);
    m_link.Disconnect();  // the board restarts with its new password
    auto tell = [this, reconnect, done](PasswordChangeResult result) {
        if (!result.back) {
            ShowStatus(OutcomeText{kErrNotBackAfterRestart, {}});
        } else if (!reconnect) {
            ShowStatus(OutcomeText{kStatusPasswordChanged, {}});
        }
        if (done) {
            done(result);
        }
    };
    if (reconnect) {
        m_return.Await([tell](const std::optional<ConnectResult>& connect) {
            tell(PasswordChangeResult{connect.has_value(), connect});
        });
    } else {
        m_return.AwaitPort([tell](bool back) { tell(PasswordChangeResult{back, std::nullopt}); });
    }
}

}  // namespace varnow
