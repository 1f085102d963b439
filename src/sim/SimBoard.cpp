#include "SimBoard.h"

#include <algorithm>

#include "common/Bytes.h"
#include "settings/AdminPassword.h"

namespace varnow::sim {
namespace {
constexpr char kStx = '\x02';
constexpr char kCr = '\r';
constexpr char kLf = '\n';
}  // namespace

SimBoard::SimBoard(BoardConfig config, Scheduler& scheduler)
    : m_config(std::move(config)), m_scheduler(scheduler), m_random(m_config.seed) {
    m_handlers = {
        {"set esc", &SimBoard::OnSetEsc},         {"set echo", &SimBoard::OnSetEcho},
        {"get id pdb", &SimBoard::OnGetIdPdb},    {"get sys kofs", &SimBoard::OnGetSysKofs},
        {"get state", &SimBoard::OnGetState},     {"get id kofs", &SimBoard::OnGetIdKofs},
        {"get id fib", &SimBoard::OnGetIdFib},    {"get id mcu", &SimBoard::OnGetIdMcu},
        {"set state", &SimBoard::OnSetState},     {"auth chap", &SimBoard::OnAuthChap},
        {"auth hash", &SimBoard::OnAuthHash},
    };
}

void SimBoard::Restart() {
    m_echo = true;
    m_framed = false;
    m_loggedIn = false;
    m_line.clear();
    m_outbox.clear();  // what was on its way is lost with the power
}

void SimBoard::Receive(ByteView bytes) {
    for (std::uint8_t byte : bytes) {
        const char c = static_cast<char>(byte);
        if (m_echo && !m_config.ispMode) {
            Send(c == kCr ? std::string("\r\n") : std::string(1, c));
        }
        if (c == kLf) {
            continue;
        }
        if (c != kCr) {
            m_line.push_back(c);
            continue;
        }
        const std::string line = std::move(m_line);
        m_line.clear();
        m_commands.push_back(line);
        if (m_config.ispMode) {
            HandleBootLoaderLine(line);
        } else {
            HandleLine(line);
        }
    }
}

void SimBoard::HandleLine(const std::string& line) {
    if (line.empty()) {
        if (!m_echo) {
            Send("\r\n");  // an empty line is answered by one, echo or not
        }
        return;
    }
    // The longest command name that the line starts with, at a word boundary.
    const std::pair<const std::string, Handler>* best = nullptr;
    for (const auto& entry : m_handlers) {
        const std::string& name = entry.first;
        const bool matches = line == name || (line.starts_with(name) && line[name.size()] == ' ');
        if (matches && (best == nullptr || name.size() > best->first.size())) {
            best = &entry;
        }
    }
    if (best == nullptr) {
        Reply("501 unknown command");
        return;
    }
    if (m_faults.ignoredCommands.count(best->first) != 0) {
        return;
    }
    if (const auto late = m_faults.lateCommands.find(best->first); late != m_faults.lateCommands.end()) {
        m_faults.delayNextReplyMs = late->second;
    }
    if (Locked(best->first)) {
        Reply("504 login required");
        return;
    }
    const std::string_view arguments =
        std::string_view(line).substr(std::min(line.size(), best->first.size() + 1));
    (this->*best->second)(arguments);
}

void SimBoard::HandleBootLoaderLine(const std::string& line) {
    if (line.empty()) {
        Send("100\r\n");
    }
}

bool SimBoard::Locked(std::string_view command) const {
    return m_config.password.has_value() && !m_loggedIn && !command.starts_with("auth") &&
           command != "get id mcu";
}

void SimBoard::Reply(std::string_view text) {
    if (m_faults.dropReplies > 0) {
        --m_faults.dropReplies;
        return;
    }
    std::string line(text);
    if (m_faults.garbleReplies > 0 && !line.empty()) {
        --m_faults.garbleReplies;
        line[0] = '9';
    }
    Send((m_framed ? std::string(1, kStx) : std::string()) + line + "\r\n");
}

void SimBoard::Send(std::string bytes) {
    if (m_faults.silent || !m_output) {
        return;
    }
    // Everything leaves in the order it was sent, however late one piece is.
    const std::uint64_t now = m_scheduler.NowMs();
    const std::uint64_t at =
        std::max(now + m_config.latencyMs + m_faults.delayNextReplyMs, m_lastDeliveryAt);
    m_faults.delayNextReplyMs = 0;
    m_lastDeliveryAt = at;
    m_outbox.push_back({at, std::move(bytes)});
    if (!m_flushScheduled) {
        ScheduleFlush();
    }
}

void SimBoard::ScheduleFlush() {
    m_flushScheduled = true;
    const std::uint64_t now = m_scheduler.NowMs();
    const std::uint64_t at = m_outbox.front().at;
    m_scheduler.After(at > now ? at - now : 0, [this] { Flush(); });
}

void SimBoard::Flush() {
    m_flushScheduled = false;
    const std::uint64_t now = m_scheduler.NowMs();
    std::string due;
    while (!m_outbox.empty() && m_outbox.front().at <= now) {
        due += m_outbox.front().bytes;
        m_outbox.pop_front();
    }
    if (!due.empty() && m_output) {
        m_output(due);
    }
    if (!m_outbox.empty()) {
        ScheduleFlush();
    }
}

void SimBoard::SendUnsolicited(std::string_view line) { Reply(line); }

void SimBoard::OnSetEsc(std::string_view arguments) {
    m_framed = arguments == "02";
    Reply("410 OK");
}

void SimBoard::OnSetEcho(std::string_view arguments) {
    m_echo = arguments != "0";
    Reply("410 OK");
}

void SimBoard::OnGetIdPdb(std::string_view) {
    if (!m_config.pdbLine) {
        Reply("501 no such id");
        return;
    }
    Reply(*m_config.pdbLine);
    Reply("410 OK");
}

void SimBoard::OnGetSysKofs(std::string_view) {
    Reply("3741");
    Reply("410 OK");
}

void SimBoard::OnGetState(std::string_view) {
    Reply("0 run");
    Reply("410 OK");
}

void SimBoard::OnGetIdKofs(std::string_view) {
    Reply("kofs sample image");
    Reply("410 OK");
}

void SimBoard::OnGetIdFib(std::string_view) {
    for (const auto& line : m_config.fibLines) {
        Reply(line);
    }
    Reply("410 OK");
}

void SimBoard::OnGetIdMcu(std::string_view) {
    if (!m_config.mcuIdSupported) {
        Reply("501 no such id");
        return;
    }
    Reply(m_config.mcuId);
    Reply("410 OK");
}

void SimBoard::OnSetState(std::string_view) { Reply("410 OK"); }

void SimBoard::OnAuthChap(std::string_view) {
    Bytes challenge(16);
    for (auto& byte : challenge) {
        byte = static_cast<std::uint8_t>(m_random() & 0xFF);
    }
    m_challenge = AsText(challenge);
    Reply("413 " + ToLowerHex(challenge));
}

void SimBoard::OnAuthHash(std::string_view arguments) {
    LoginChallenge challenge{};
    std::copy(m_challenge.begin(), m_challenge.end(), challenge.begin());
    const AdminKey key =
        DeriveAdminKey(m_config.password.value_or(""), AdminKeySalt(m_config.mcuId));
    if (!m_challenge.empty() && arguments == ToLowerHex(LoginDigest(challenge, key))) {
        m_loggedIn = true;
        m_challenge.clear();
        Reply("410 OK");
    } else {
        // The challenge stays: the tool answers it again with the next password it is given.
        Reply("504 wrong password");
    }
}

}  // namespace varnow::sim
