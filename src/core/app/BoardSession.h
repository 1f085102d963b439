#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/BoardReturn.h"
#include "app/PortCheck.h"
#include "link/Platform.h"
#include "ops/BoardContext.h"
#include "ops/ConnectOperation.h"
#include "session/BoardLink.h"
#include "ui/Host.h"
#include "ui/StringTable.h"

namespace varnow {

// Keeps the exchange with a board for a failure's report.
class TraceKeeper {
public:
    virtual ~TraceKeeper() = default;
    // Saves what went over the line so far (secrets withheld); nullopt when there is nothing.
    virtual std::optional<std::filesystem::path> KeepTrace() = 0;
};

// What the session does by itself, for the front end to show.
class SessionListener {
public:
    virtual ~SessionListener() = default;
    // A connect the session made on its own (the board's port came back) has ended.
    virtual void SessionConnectEnded(const ConnectOperation& connect) = 0;
    // The board's port vanished while it was open.
    virtual void BoardPortLost() = 0;
};

// One front end's session with a board: the link to it, the one operation running on it, and
// the board's port as it comes and goes (after a restart the board is awaited and connected
// again). Operations are made by the front end and run here; the session owns no chain.
class BoardSession : public PlatformListener, public BoardContext {
public:
    BoardSession(Platform& platform, Host& host, const StringTable& strings, Language language);
    ~BoardSession() override;
    BoardSession(const BoardSession&) = delete;
    BoardSession& operator=(const BoardSession&) = delete;

    void SetListener(SessionListener* listener) { m_listener = listener; }
    void SetTraceKeeper(TraceKeeper* keeper) { m_traces = keeper; }
    // Where a combined package's firmware is split off (the application-data folder unless
    // set): command-line runs side by side each keep their own.
    void SetExtractionFolder(std::filesystem::path folder) {
        m_extractionFolder = std::move(folder);
    }

    // Runs an operation; `ended` hears of its end (not when the session aborts it). False,
    // and nothing started, while another runs.
    bool Run(std::shared_ptr<Operation> operation, std::function<void()> ended);
    // Makes and runs an operation; `ended` gets it once it has ended.
    template <typename Op, typename... Args>
    std::shared_ptr<Op> Start(std::function<void(const Op&)> ended, Args&&... args) {
        auto operation = std::make_shared<Op>(*this, std::forward<Args>(args)...);
        const bool started = Run(operation, [operation, ended = std::move(ended)] {
            if (ended) {
                ended(*operation);
            }
        });
        return started ? operation : nullptr;
    }
    // An operation is running, or the session is bringing a board back: start no other.
    bool busy() const;
    const Operation* running() const { return m_running.get(); }

    // Controls to the disconnected look and the port closed.
    void Disconnect();
    // The front end gives up on what is under way (its user interrupted it): nothing more is
    // written, the port is closed, and no end is heard of the operation.
    void Abort();

    // What the front end reports.
    void ProgressClosedByUser() { m_link.progress().ClosedByUser(); }
    void OnResume() { m_portCheck.OnResume(); }
    void OnDeviceArrival() override;
    void OnDeviceRemoval() override { m_portCheck.OnDeviceRemoval(); }
    void OnPortFailed() override { m_portCheck.OnPortFailed(); }
    void OnSerialEvent(std::uint32_t events) override { m_link.channel().HandleArrival(events); }

    Platform& platform() { return m_platform; }
    CommandChannel& channel() { return m_link.channel(); }
    SessionRecord& session() { return m_link.session(); }
    const SessionRecord& session() const { return m_link.session(); }
    bool portOpen() { return m_link.portOpen(); }
    // How the last connect ended, if one has, and how many have.
    const std::optional<ConnectReport>& lastConnect() const { return m_lastConnect; }
    int connectsEnded() const { return m_connectsEnded; }

    // BoardContext
    BoardLink& link() override { return m_link; }
    Questions& questions() override { return m_host; }
    FirmwareWindowView& firmwareWindow() override { return m_host; }
    MessageHost* liveMessages() override { return m_host.liveMessages(); }
    const StringTable& strings() const override { return m_strings; }
    Language language() const override { return m_language; }
    std::filesystem::path dataFolder() override;
    std::filesystem::path extractionFolder() override;
    void AwaitReturn(Questions* login, Returned returned) override;
    void AwaitPort(std::function<void(bool back)> returned) override;

private:
    // The board's port is back: connects to it (for an operation that awaits it, or on the
    // session's own account).
    void ConnectAgain();
    void OnConnectEnded(const ConnectOperation& connect, bool forReturn);

    Platform& m_platform;
    Host& m_host;
    const StringTable& m_strings;
    Language m_language;
    BoardLink m_link;
    PortCheck m_portCheck;
    BoardReturn m_return;
    SessionListener* m_listener = nullptr;
    TraceKeeper* m_traces = nullptr;
    std::filesystem::path m_extractionFolder;
    std::shared_ptr<Operation> m_running;
    std::shared_ptr<ConnectOperation> m_connecting;  // the session's own connect
    Questions* m_returnLogin = nullptr;
    // Operations given up on: kept until the session goes, since their code may still be on
    // the stack of the loop that ran when they were abandoned.
    std::vector<std::shared_ptr<Operation>> m_abandoned;
    std::optional<ConnectReport> m_lastConnect;
    int m_connectsEnded = 0;
};

}  // namespace varnow
