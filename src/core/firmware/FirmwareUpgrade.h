#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "connect/ConnectOutcome.h"
#include "firmware/FirmwareOutcome.h"
#include "firmware/IspTransfer.h"
#include "session/BoardLink.h"
#include "ui/Host.h"
#include "ui/Messenger.h"

namespace varnow {

// The firmware upgrade window's logic and its chain: checks the file, has the board reach its
// boot loader, sends the test block and the image, and once the board has restarted waits
// for it to be connected again. Keeps the status and bar the window shows; ends with one
// outcome. The window stays open after a failure until its user closes it.
class FirmwareUpgrade {
public:
    using Done = std::function<void(const FirmwareResult&)>;
    // Finds the restarted board again and connects to it; nullopt when it did not come back.
    using AwaitReturn =
        std::function<void(std::function<void(const std::optional<ConnectResult>&)>)>;

    static constexpr int kCheckTimer = 101;  // 10 ms after opening: check the file

    FirmwareUpgrade(BoardLink& link, Messenger& messenger, FirmwareWindowView& view,
                    IspTransfer& isp, AwaitReturn awaitReturn);

    // Opens the window for a firmware image file and starts.
    void Start(std::filesystem::path path, Done done);
    bool running() const { return static_cast<bool>(m_done); }
    bool windowOpen() const { return m_open; }
    // The user's close box: closes the window while it is enabled (false otherwise). Before
    // the transfer has begun this cancels the upgrade. It may come after the upgrade ended.
    bool CloseWindow();

    const FirmwareWindowState& state() const { return m_state; }
    const std::filesystem::path& path() const { return m_path; }
    // The board was told to restart into its boot loader: it may be left there.
    bool bootLoaderReached() const { return m_isp.bootLoaderReached(); }

private:
    void CheckFile();
    void OnPrepared(const IspResult& result);
    void OnTested(const IspResult& result);
    void OnProgress(long long sent);
    void OnImageSent();
    void OnProgrammed(const IspResult& result);
    void OnReturned(const std::optional<ConnectResult>& connect);
    void Failed(const IspResult& result);
    void Changed();
    void CloseView();
    void Finish(FirmwareOutcome outcome, std::string command = {}, ConnectResult reconnect = {});

    BoardLink& m_link;
    Messenger& m_messenger;
    FirmwareWindowView& m_view;
    IspTransfer& m_isp;
    AwaitReturn m_awaitReturn;
    Done m_done;
    std::filesystem::path m_path;
    FirmwareWindowState m_state;
    bool m_open = false;
    bool m_imageSent = false;
};

}  // namespace varnow
