#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "BoardConfig.h"
#include "Scheduler.h"
#include "common/Bytes.h"

namespace varnow::sim {

// The board's side of the serial line: its firmware's command interpreter (echo, unframed or
// STX-framed replies, the login) and its ISP boot loader's answer to the probe. Bytes written
// by the tool go to Receive(); what the board sends goes to the output, after its latency.
class SimBoard {
public:
    using Output = std::function<void(std::string_view bytes)>;

    SimBoard(BoardConfig config, Scheduler& scheduler);

    void SetOutput(Output output) { m_output = std::move(output); }
    // How the board makes its USB port vanish and come back when it restarts.
    void SetUsb(std::function<void()> unplug, std::function<void()> replug) {
        m_unplug = std::move(unplug);
        m_replug = std::move(replug);
    }
    void Receive(ByteView bytes);

    BoardConfig& config() { return m_config; }
    BoardFaults& faults() { return m_faults; }
    // Back to how it starts after power-on: echo on, unframed replies, logged out.
    void Restart();
    // The tool closed the port (its DTR dropped): a login lasts one connection.
    void HostClosedPort() { m_loggedIn = false; }
    // An unsolicited script-state report, as after a break in the board's script.
    void SendUnsolicited(std::string_view line);

    // Every command line the board has received, in order (the probe's empty lines included).
    const std::vector<std::string>& commands() const { return m_commands; }
    // How many reply lines the board gave each command it answered, in order: the command as
    // it came, and its count (replies that come later, as "412" after a text, count to it).
    const std::vector<std::pair<std::string, int>>& answers() const { return m_answers; }
    bool framed() const { return m_framed; }
    bool echo() const { return m_echo; }
    bool loggedIn() const { return m_loggedIn; }
    bool ispMode() const { return m_config.ispMode; }
    // The file system image and the firmware the board holds.
    const Bytes& kofs() const { return m_kofs; }
    const Bytes& firmware() const { return m_firmware; }
    const Bytes& testBlock() const { return m_testBlock; }
    // The settings block it holds, and the administrator key (none: no password).
    const Bytes& environment() const { return m_environment; }
    void SetEnvironment(Bytes block) { m_environment = std::move(block); }
    // The certificate block it holds.
    const Bytes& certificates() const { return m_certificates; }
    void SetCertificates(Bytes block) { m_certificates = std::move(block); }
    bool hasPassword() const { return m_adminKey.has_value(); }
    // The administrator key it holds (none: no password).
    const std::optional<Bytes>& adminKey() const { return m_adminKey; }
    // The administrator password the board asks for from now on (none: no login).
    void SetPassword(const std::optional<std::string>& password);

private:
    using Handler = void (SimBoard::*)(std::string_view arguments);

    enum class Mode {
        Commands,
        KofsText,
        EnvironmentText,
        CertificateText,
        TestBlock,
        FirmwareImage
    };

    void HandleLine(const std::string& line);
    void ReceiveData(std::uint8_t byte);
    void FinishKofsText();
    void FinishEnvironmentText();
    void FinishCertificateText();
    // Takes Base64 text up to "\r\r" in bulk; true when it ended.
    bool TakeText(ByteView bytes, std::size_t& i);
    void FinishTestBlock();
    void FinishFirmwareImage();
    // Ends a raw transfer that has stopped arriving.
    void WatchIdle(std::uint64_t idleMs);
    void Restart(bool bootLoader);
    void SendBulk(ByteView bytes);
    void HandleBootLoaderLine(const std::string& line);
    void Reply(std::string_view text);
    // The line fault, if it falls on this reply: true when the line is lost.
    bool ApplyLineFault(std::string& line);
    void Send(std::string bytes);
    void ScheduleFlush();
    void Flush();
    bool Locked(std::string_view command) const;

    void OnSetEsc(std::string_view arguments);
    void OnSetEcho(std::string_view arguments);
    void OnGetIdPdb(std::string_view arguments);
    void OnGetSysKofs(std::string_view arguments);
    void OnGetState(std::string_view arguments);
    void OnGetIdKofs(std::string_view arguments);
    void OnGetIdFib(std::string_view arguments);
    void OnGetIdMcu(std::string_view arguments);
    void OnSetState(std::string_view arguments);
    void OnAuthChap(std::string_view arguments);
    void OnAuthHash(std::string_view arguments);
    void OnEraseKofs(std::string_view arguments);
    void OnRecvKofs(std::string_view arguments);
    void OnGetKofsHash(std::string_view arguments);
    void OnSendKofsHead(std::string_view arguments);
    void OnSendTail(std::string_view arguments);
    void OnRebootIsp(std::string_view arguments);
    void OnRebootSys(std::string_view arguments);
    void OnRebootPsk(std::string_view arguments);
    void OnSendEnvs(std::string_view arguments);
    void OnRecvEnvs(std::string_view arguments);
    void OnSendEnvc(std::string_view arguments);
    void OnGetFibMac(std::string_view arguments);
    void OnGetUptime(std::string_view arguments);
    void OnPid(std::string_view arguments);
    void OnRecvEnvc(std::string_view arguments);

    BoardConfig m_config;
    BoardFaults m_faults;
    Scheduler& m_scheduler;
    Output m_output;
    std::map<std::string, Handler, std::less<>> m_handlers;
    std::string m_line;
    bool m_echo = true;
    bool m_framed = false;
    bool m_loggedIn = false;
    Bytes m_challenge;
    std::mt19937 m_random;
    struct Outgoing {
        std::uint64_t at;
        std::string bytes;
    };
    std::deque<Outgoing> m_outbox;  // in the order sent; delivered when due
    bool m_flushScheduled = false;
    std::uint64_t m_lastDeliveryAt = 0;
    std::vector<std::string> m_commands;
    std::vector<std::pair<std::string, int>> m_answers;
    std::function<void()> m_unplug;
    std::function<void()> m_replug;
    Mode m_mode = Mode::Commands;
    std::string m_text;  // upload text being received
    Bytes m_raw;         // test block or firmware image being received
    std::uint64_t m_rawGeneration = 0;
    Bytes m_kofs;
    Bytes m_firmware;
    Bytes m_testBlock;
    Bytes m_environment;
    Bytes m_certificates;
    std::uint64_t m_startedMs = 0;  // its uptime counts from here
    std::optional<Bytes> m_adminKey;
};

}  // namespace varnow::sim
