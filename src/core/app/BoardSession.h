#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/BoardReturn.h"
#include "app/OutcomeText.h"
#include "app/PortCheck.h"
#include "app/WriteResult.h"
#include "certs/CertificateRead.h"
#include "certs/CertificateStore.h"
#include "certs/CertificateWrite.h"
#include "connect/ConnectSequence.h"
#include "firmware/FirmwareUpgrade.h"
#include "firmware/IspTransfer.h"
#include "info/NetworkInfoRead.h"
#include "info/ProductInfoRead.h"
#include "link/Platform.h"
#include "package/LoadedPackage.h"
#include "session/BoardLink.h"
#include "settings/SettingsRead.h"
#include "settings/SettingsWrite.h"
#include "ui/Host.h"
#include "ui/Messenger.h"
#include "ui/StringTable.h"
#include "upload/UploadChain.h"

namespace varnow {

// What a write of settings did: how it ended, where the block as read was saved first, and
// the block that was sent.
struct SettingsWriteResult {
    Outcome<SettingsWriteOutcome> outcome;
    std::filesystem::path backup;
    Bytes sent;
};

// What a password change came to: whether the board came back after its restart, and how the
// connect to it ended when one was asked for.
struct PasswordChangeResult {
    bool back = false;
    std::optional<ConnectResult> connect;
};

// One front end's session with a board: the link to it, and the operations the front end
// starts on it (connect, upload, firmware upgrade), each ending with one outcome handed to
// the front end. It also follows the board's port as it comes and goes.
class BoardSession : public PlatformListener {
public:
    using ConnectDone = std::function<void(const ConnectResult&)>;
    using WriteDone = std::function<void(const WriteResult&)>;
    using FirmwareDone = std::function<void(const FirmwareResult&)>;
    using SettingsReadDone = SettingsRead::Done;
    using SettingsWriteDone = std::function<void(const SettingsWriteResult&)>;
    using ReturnDone = std::function<void(const std::optional<ConnectResult>&)>;
    using PasswordDone = std::function<void(const PasswordChangeResult&)>;
    using CertificatesDone = CertificateRead::Done;
    using CertificateStoreDone = CertificateStore::Done;
    using KeyDone = std::function<void(std::optional<PrivateKey>)>;
    using ProductInfoDone = ProductInfoRead::Done;
    using NetworkInfoDone = NetworkInfoRead::Done;

    BoardSession(Platform& platform, Host& host, const StringTable& strings, Language language);
    ~BoardSession() override;
    BoardSession(const BoardSession&) = delete;
    BoardSession& operator=(const BoardSession&) = delete;

    // Opens the selected port and identifies the board.
    void Connect(ConnectDone done = {});
    // Controls to the disconnected look and the port closed.
    void Disconnect();
    // The Upload command: the package's image, then its firmware if it has one.
    void Upload(LoadedPackage& package, WriteDone done = {}, UploadOptions options = {});
    // The firmware upgrade window for a firmware image file.
    void UpgradeFirmware(std::filesystem::path firmware, FirmwareDone done = {});
    // The Settings button: the board's settings block, read and checked.
    void ReadSettings(SettingsReadDone done);
    // Writes the edited settings: the block as read is saved first; then the block with the
    // store's values patched in goes to the board.
    void WriteSettings(EnvironmentData edited, SettingsWriteDone done);
    // Writes a block exactly as it is (a restore), after the block as read now is saved.
    void WriteBlock(Bytes block, Bytes asRead, SettingsWriteDone done);
    // Restarts the board to apply its settings, and connects to it again once it is back.
    void RebootBoard(ReturnDone done = {});
    // Writes a password command; the board restarts. With `reconnect` it is connected again
    // once back (to log in with the new password); otherwise, as the desktop tool does, its
    // next arrival is ignored and `done` hears only that its port is back.
    void ChangePassword(const std::string& command, bool reconnect, PasswordDone done = {});

    // The board's certificate block, into a record store (an empty one when none came).
    void ReadCertificates(CertificatesDone done);
    // Gives the board a new certificate and key, carrying the other records of `current`
    // (the block last read); the block is read back afterwards.
    void StoreCertificate(const TlsIdentity& identity, const CertificateRecordStore& current,
                          CertificateStoreDone done);

    // What the board tells about itself: "Product/Firmware information", "Network information".
    void ReadProductInfo(ProductInfoDone done) { m_productInfo.Start(std::move(done)); }
    void ReadNetworkInfo(NetworkInfoDone done) { m_networkInfo.Start(std::move(done)); }

    // Makes an RSA key off the core's thread, under the progress "It is making an RSA key.";
    // nullopt when the library failed.
    void MakeRsaKey(int bits, KeyDone done);

    // Where a combined package's firmware is split off (the application-data folder unless
    // set): command-line runs side by side each keep their own.
    void SetExtractionFolder(std::filesystem::path folder) {
        m_upload.SetExtractionFolder(std::move(folder));
    }

    // The front end gives up on the running operation (its user interrupted it): the command
    // ends and the port is closed. No outcome follows.
    void Abort();

    // What the front end reports.
    void ProgressClosedByUser() { m_link.progress().ClosedByUser(); }
    bool CloseFirmwareWindow() { return m_firmware.CloseWindow(); }
    void OnResume() { m_portCheck.OnResume(); }
    void OnDeviceArrival() override { m_portCheck.OnDeviceArrival(); }
    void OnDeviceRemoval() override { m_portCheck.OnDeviceRemoval(); }
    void OnSerialEvent(std::uint32_t events) override { m_link.channel().HandleArrival(events); }

    Platform& platform() { return m_platform; }
    Messenger& messenger() { return m_messenger; }
    CommandChannel& channel() { return m_link.channel(); }
    SessionRecord& session() { return m_link.session(); }
    const SessionRecord& session() const { return m_link.session(); }
    bool portOpen() { return m_link.portOpen(); }
    // An operation is running: the front end starts no other meanwhile.
    bool busy() const {
        return m_connect.running() || m_upload.running() || m_firmware.running() ||
               m_settingsRead.running() || m_settingsWrite.running() || m_certRead.running() ||
               m_certWrite.running() || m_certStore.running() || m_makingKey ||
               m_productInfo.running() || m_networkInfo.running() || m_return.awaiting();
    }
    // How the last connect ended, if one has, and how many have.
    const std::optional<ConnectResult>& lastConnect() const { return m_lastConnect; }
    int connectsEnded() const { return m_connectsEnded; }
    const UploadChain& upload() const { return m_upload; }
    const FirmwareUpgrade& firmware() const { return m_firmware; }

private:
    void OnConnectEnded(const ConnectResult& result);
    void ShowStatus(const OutcomeText& text);
    // Saves the block as read, then sends the block's text.
    void SaveAndWrite(const Bytes& asRead, Bytes block, SettingsWriteDone done);
    // The board's port is back (closed by us, and free).
    bool PortBack();

    Platform& m_platform;
    StatusView& m_status;
    Messenger m_messenger;
    BoardLink m_link;
    ConnectSequence m_connect;
    UploadChain m_upload;
    IspTransfer m_isp;
    SettingsRead m_settingsRead;
    SettingsWrite m_settingsWrite;
    CertificateRead m_certRead;
    CertificateWrite m_certWrite;
    CertificateStore m_certStore;
    ProductInfoRead m_productInfo;
    NetworkInfoRead m_networkInfo;
    PortCheck m_portCheck;
    BoardReturn m_return;
    FirmwareUpgrade m_firmware;
    std::vector<ConnectDone> m_connectWaiters;
    bool m_makingKey = false;
    // Work finished off the core's thread reaches the session only while it lives.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    std::optional<ConnectResult> m_lastConnect;
    int m_connectsEnded = 0;
};

}  // namespace varnow
