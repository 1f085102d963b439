#include "SimBoard.h"

#include <algorithm>
#include <cctype>

#include "BoardCodec.h"
#include "CertificateImage.h"
#include "EnvironmentImage.h"
#include "common/Bytes.h"

namespace varnow::sim {
namespace {

constexpr char kStx = '\x02';
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr std::size_t kTestBlockSize = 512;
constexpr std::uint64_t kRawIdleMs = 200;
constexpr std::uint64_t kUsbGoneAfterMs = 30;
constexpr const char* kKofsCapacityKib = "3741";

std::uint16_t Crc16Of(ByteView bytes) {
    return codec::Crc16(bytes.data(), bytes.size());
}

// The hash the board reports of its image: SHA-1 of the bytes after the 16-byte head.
std::string ImageHashOf(const Bytes& image) {
    constexpr std::size_t kHashedFrom = 16;
    return image.size() > kHashedFrom
               ? codec::Sha1Hex(image.data() + kHashedFrom, image.size() - kHashedFrom)
               : codec::Sha1Hex(nullptr, 0);
}

// A small valid image of the given product, as a board leaves the factory with.
Bytes FactoryImage(std::uint8_t productId) {
    Bytes image(1024, 0xFF);
    const char magic[] = "kFoS";
    std::copy_n(magic, 4, image.begin());
    WriteLe16(image, 4, 1);
    WriteLe16(image, 6, Crc16Of(ByteView(image).first(6)));
    image[11] = productId;
    std::fill_n(image.begin() + 12, 4, 0);
    // The head's one record names the image: "a", 0, its length, the name and a NUL.
    const std::string name = "factory image";
    const std::size_t recordLength = (4 + name.size() + 1 + 3) / 4 * 4;
    std::fill_n(image.begin() + 16, recordLength, 0);
    image[16] = 'a';
    WriteLe16(image, 18, static_cast<std::uint16_t>(recordLength));
    std::copy(name.begin(), name.end(), image.begin() + 20);
    image[10] = static_cast<std::uint8_t>((16 + recordLength) / 4);
    std::copy_n(magic, 4, image.end() - 8);
    std::fill_n(image.end() - 4, 2, 0);
    WriteLe16(image, 1022, Crc16Of(ByteView(image).subspan(1016, 6)));
    return image;
}

}  // namespace

SimBoard::SimBoard(BoardConfig config, Scheduler& scheduler)
    : m_config(std::move(config)), m_scheduler(scheduler), m_random(m_config.seed) {
    if (m_config.startsWithImage) {
        m_kofs = FactoryImage(m_config.productId);
    }
    m_environment = environment::FactoryBlock({m_config.wlanRecords, m_config.productName});
    m_certificates = certificates::FactoryBlock();
    m_startedMs = m_scheduler.NowMs();
    SetPassword(m_config.password);
    m_handlers = {
        {"set esc", &SimBoard::OnSetEsc},
        {"set echo", &SimBoard::OnSetEcho},
        {"get id pdb", &SimBoard::OnGetIdPdb},
        {"get sys kofs", &SimBoard::OnGetSysKofs},
        {"get state", &SimBoard::OnGetState},
        {"get id kofs", &SimBoard::OnGetIdKofs},
        {"get id fib", &SimBoard::OnGetIdFib},
        {"get id mcu", &SimBoard::OnGetIdMcu},
        {"set state", &SimBoard::OnSetState},
        {"auth chap", &SimBoard::OnAuthChap},
        {"auth hash", &SimBoard::OnAuthHash},
        {"erase kofs", &SimBoard::OnEraseKofs},
        {"recv kofs", &SimBoard::OnRecvKofs},
        {"get id kofs hash", &SimBoard::OnGetKofsHash},
        {"send kofs head", &SimBoard::OnSendKofsHead},
        {"send tail", &SimBoard::OnSendTail},
        {"reboot isp", &SimBoard::OnRebootIsp},
        {"reboot sys", &SimBoard::OnRebootSys},
        {"reboot psk", &SimBoard::OnRebootPsk},
        {"send envs", &SimBoard::OnSendEnvs},
        {"recv envs", &SimBoard::OnRecvEnvs},
        {"send envc", &SimBoard::OnSendEnvc},
        {"recv envc", &SimBoard::OnRecvEnvc},
        {"get id fib mac", &SimBoard::OnGetFibMac},
        {"get sys uptime", &SimBoard::OnGetUptime},
        {"pid", &SimBoard::OnPid},
    };
}

void SimBoard::Restart() {
    m_startedMs = m_scheduler.NowMs();
    m_echo = true;
    m_framed = false;
    m_loggedIn = false;
    m_line.clear();
    m_mode = Mode::Commands;
    m_outbox.clear();  // what was on its way is lost with the power
}

void SimBoard::Restart(bool bootLoader) {
    // The port goes away shortly after the answer, and comes back in the other mode.
    m_scheduler.After(kUsbGoneAfterMs, [this, bootLoader] {
        if (m_unplug) {
            m_unplug();
        }
        m_scheduler.After(m_config.rebootMs, [this, bootLoader] {
            m_config.ispMode = bootLoader;
            Restart();
            if (m_replug) {
                m_replug();
            }
        });
    });
}

void SimBoard::Receive(ByteView bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t byte = bytes[i];
        if ((m_mode == Mode::KofsText && m_faults.unplugAfterTextBytes == 0) ||
            m_mode == Mode::EnvironmentText || m_mode == Mode::CertificateText) {
            const Mode mode = m_mode;
            if (!TakeText(bytes, i)) {
                return;
            }
            if (mode == Mode::KofsText) {
                FinishKofsText();
            } else if (mode == Mode::EnvironmentText) {
                FinishEnvironmentText();
            } else {
                FinishCertificateText();
            }
            continue;
        }
        if (m_mode != Mode::Commands) {
            ReceiveData(byte);
            continue;
        }
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
        if (!line.empty()) {
            m_answers.emplace_back(line, 0);
        }
        if (m_config.ispMode) {
            HandleBootLoaderLine(line);
        } else {
            HandleLine(line);
        }
    }
}

bool SimBoard::TakeText(ByteView bytes, std::size_t& i) {
    // Text arrives in bulk: take everything up to the "\r\r" that ends it.
    const std::size_t before = m_text.size();
    m_text.append(reinterpret_cast<const char*>(bytes.data()) + i, bytes.size() - i);
    const std::size_t end = m_text.find("\r\r", before == 0 ? 0 : before - 1);
    if (end == std::string::npos) {
        return false;
    }
    const std::size_t rest = m_text.size() - (end + 2);
    m_text.resize(end + 2);
    i = bytes.size() - rest - 1;
    return true;
}

void SimBoard::ReceiveData(std::uint8_t byte) {
    switch (m_mode) {
        case Mode::KofsText:
            m_text.push_back(static_cast<char>(byte));
            if (m_faults.unplugAfterTextBytes != 0 &&
                m_text.size() == m_faults.unplugAfterTextBytes && m_unplug) {
                m_faults.unplugAfterTextBytes = 0;  // the cable is pulled once
                m_mode = Mode::Commands;
                m_unplug();
                return;
            }
            if (m_text.ends_with("\r\r")) {
                FinishKofsText();
            }
            break;
        case Mode::TestBlock:
            m_raw.push_back(byte);
            if (m_raw.size() == kTestBlockSize) {
                FinishTestBlock();
            }
            break;
        case Mode::FirmwareImage: {
            m_raw.push_back(byte);
            // The image's length stands in its header; without a plausible one, the end is
            // where the bytes stop coming.
            const std::size_t expected = m_raw.size() >= 8 ? ReadLe32(m_raw, 4) : 0;
            if (expected >= 16 && m_raw.size() == expected) {
                FinishFirmwareImage();
            }
            break;
        }
        case Mode::EnvironmentText:
        case Mode::CertificateText:
        case Mode::Commands:
            break;
    }
}

void SimBoard::WatchIdle(std::uint64_t idleMs) {
    const std::uint64_t generation = ++m_rawGeneration;
    const std::size_t size = m_raw.size();
    m_scheduler.After(idleMs, [this, generation, size, idleMs] {
        if (generation != m_rawGeneration || m_mode == Mode::Commands) {
            return;
        }
        if (m_raw.size() != size) {
            WatchIdle(idleMs);
        } else if (m_mode == Mode::TestBlock) {
            FinishTestBlock();
        } else if (m_mode == Mode::FirmwareImage) {
            FinishFirmwareImage();
        }
    });
}

void SimBoard::FinishKofsText() {
    m_mode = Mode::Commands;
    codec::DecodeBase64(m_text, m_kofs);
    m_text.clear();
    Reply("412 stored");
    if (!m_faults.silentAfterStored) {
        Reply("602 0 STOP kofs 0");
    }
}

void SimBoard::FinishEnvironmentText() {
    m_mode = Mode::Commands;
    Bytes block;
    const bool decoded = codec::DecodeBase64(m_text, block);
    m_text.clear();
    const std::string problem = decoded ? environment::Problem(block) : "not Base64";
    if (!problem.empty()) {
        Reply("502 " + problem);
        return;
    }
    m_environment = m_faults.settingsReplaced
                        ? environment::FactoryBlock({m_config.wlanRecords, "replaced by the board"})
                        : std::move(block);
    Reply("412 stored");
}

void SimBoard::FinishCertificateText() {
    m_mode = Mode::Commands;
    Bytes block;
    const bool decoded = codec::DecodeBase64(m_text, block);
    m_text.clear();
    const std::string problem = decoded ? certificates::Problem(block) : "not Base64";
    if (!problem.empty()) {
        Reply("502 " + problem);
        return;
    }
    const std::string& reply = m_faults.certificateReply;
    if (reply.starts_with('4') || reply.starts_with('6')) {
        m_certificates = std::move(block);
    }
    if (!reply.empty()) {
        Reply(reply);
    }
}

void SimBoard::FinishTestBlock() {
    m_mode = Mode::Commands;
    ++m_rawGeneration;
    m_testBlock = m_raw;
    const bool firmware =
        m_raw.size() >= 4 && m_raw[0] == 'f' && m_raw[2] == 's' && m_raw[3] == 'P';
    Reply(firmware ? "202 test block ok" : "301 bad test block");
}

void SimBoard::FinishFirmwareImage() {
    m_mode = Mode::Commands;
    ++m_rawGeneration;
    const bool sound =
        m_raw.size() >= 16 && Crc16Of(ByteView(m_raw).subspan(16)) == ReadLe16(m_raw, 8);
    if (sound) {
        m_firmware = m_raw;
    }
    Reply(sound ? "204 programmed" : "302 image crc error");
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
    if (const auto late = m_faults.lateCommands.find(best->first);
        late != m_faults.lateCommands.end()) {
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
        return;
    }
    if (m_faults.ignoredCommands.count(line) != 0) {
        return;
    }
    Send(line + "\r\n");  // the boot loader echoes its commands
    if (line == "tf 0") {
        m_raw.clear();
        m_mode = Mode::TestBlock;
        Send("201 send test block\r\n");
        WatchIdle(kRawIdleMs);
    } else if (line == "uf 7b19" || line == "ef 3de4") {
        Send(m_faults.ispRefused ? "300 locked\r\n" : "200 ok\r\n");
    } else if (line == "pf 92a6") {
        m_raw.clear();
        m_mode = Mode::FirmwareImage;
        Send("201 send image\r\n");
        WatchIdle(kRawIdleMs);
    } else if (line == "rs 10") {
        Send("r 10\r\n");
        Restart(false);
    } else {
        Send("300 unknown\r\n");
    }
}

bool SimBoard::Locked(std::string_view command) const {
    return m_adminKey.has_value() && !m_loggedIn && !command.starts_with("auth") &&
           command != "get id mcu";
}

void SimBoard::Reply(std::string_view text) {
    std::string line(text);
    if (ApplyLineFault(line)) {
        return;
    }
    if (m_faults.dropReplies > 0) {
        --m_faults.dropReplies;
        return;
    }
    if (m_faults.garbleReplies > 0 && !line.empty()) {
        --m_faults.garbleReplies;
        line[0] = '9';
    }
    Send((m_framed ? std::string(1, kStx) : std::string()) + line + "\r\n");
}

bool SimBoard::ApplyLineFault(std::string& line) {
    if (m_answers.empty()) {
        return false;
    }
    auto& [command, count] = m_answers.back();
    const int index = count++;
    std::optional<LineFault>& fault = m_faults.lineFault;
    if (!fault || command != fault->command) {
        return false;
    }
    // Which time this command is answered: counted at its first reply line.
    if (index == 0) {
        ++fault->seen;
    }
    if (fault->seen - 1 != fault->occurrence || index != fault->line) {
        return false;
    }
    const LineFault happened = *fault;
    fault.reset();
    switch (happened.kind) {
        case LineFault::Kind::Drop:
            return true;
        case LineFault::Kind::Garble:
            if (!line.empty()) {
                line[line.size() / 2] = '#';
            } else {
                line = "#";
            }
            return false;
        case LineFault::Kind::Delay:
            m_faults.delayNextReplyMs = happened.delayMs;
            return false;
    }
    return false;
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

void SimBoard::SendBulk(ByteView bytes) {
    for (const std::string& line : codec::EncodeBase64Lines(Bytes(bytes.begin(), bytes.end()))) {
        Reply(line);
    }
    Reply("411 end");
}

void SimBoard::SendUnsolicited(std::string_view line) {
    Reply(line);
}

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
    Reply(kKofsCapacityKib);
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

void SimBoard::OnSetState(std::string_view) {
    Reply("410 OK");
}

void SimBoard::OnAuthChap(std::string_view) {
    Bytes challenge(16);
    for (auto& byte : challenge) {
        byte = static_cast<std::uint8_t>(m_random() & 0xFF);
    }
    m_challenge = challenge;
    Reply("413 " + codec::ToHex(challenge));
}

void SimBoard::OnAuthHash(std::string_view arguments) {
    const codec::Bytes key = m_adminKey.value_or(codec::Bytes(32, 0));
    if (!m_challenge.empty() && arguments == codec::LoginAnswer(m_challenge, key)) {
        m_loggedIn = true;
        m_challenge.clear();
        Reply("410 OK");
    } else {
        // The challenge stays: the tool answers it again with the next password it is given.
        Reply("504 wrong password");
    }
}

void SimBoard::OnEraseKofs(std::string_view) {
    m_kofs.clear();
    Reply("410 OK");
}

void SimBoard::OnRecvKofs(std::string_view) {
    m_text.clear();
    m_text.reserve(6 * 1024 * 1024);  // room for the largest upload text
    m_mode = Mode::KofsText;
}

void SimBoard::OnGetKofsHash(std::string_view) {
    if (m_faults.noHashCommand) {
        Reply("501 no such id");
        return;
    }
    std::string hash = ImageHashOf(m_kofs);
    if (m_faults.wrongHash) {
        hash[0] = hash[0] == '0' ? '1' : '0';
    }
    if (m_faults.upperCaseHash) {
        std::transform(hash.begin(), hash.end(), hash.begin(), [](char c) {
            return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        });
    }
    Reply(hash);
    Reply("410 OK");
}

void SimBoard::OnSendKofsHead(std::string_view) {
    const std::size_t headBytes =
        m_kofs.size() > 10 ? std::max<std::size_t>(16, 4u * m_kofs[10]) : 0;
    SendBulk(ByteView(m_kofs).first(std::min(headBytes, m_kofs.size())));
}

void SimBoard::OnSendTail(std::string_view) {
    // Without a firmware name the tail holds no "A" record.
    Bytes block{static_cast<std::uint8_t>(m_config.firmwareName.empty() ? 'B' : 'A'), 0, 0, 0};
    block.insert(block.end(), m_config.firmwareName.begin(), m_config.firmwareName.end());
    block.push_back(0);
    WriteLe16(block, 2, static_cast<std::uint16_t>(block.size()));
    SendBulk(block);
}

void SimBoard::OnRebootIsp(std::string_view) {
    Reply("410 OK");
    Restart(true);
}

}  // namespace varnow::sim

namespace varnow::sim {

void SimBoard::SetPassword(const std::optional<std::string>& password) {
    m_adminKey.reset();
    if (password) {
        m_adminKey = codec::AdminKey(*password, m_config.mcuId);
    }
}

void SimBoard::OnRebootSys(std::string_view) {
    Reply("410 OK");
    Restart(false);
}

// "reboot psk 10 " and the 38-byte password record in hexadecimal: set (flag 1, key CRC, the
// admin key) or delete (all zero), each with the CRC of its first 36 bytes at the end.
void SimBoard::OnRebootPsk(std::string_view arguments) {
    const std::string_view hex = arguments.substr(std::min<std::size_t>(3, arguments.size()));
    Bytes record;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        const int high = std::isxdigit(static_cast<unsigned char>(hex[i]))
                             ? std::stoi(std::string(1, hex[i]), nullptr, 16)
                             : -1;
        const int low = std::isxdigit(static_cast<unsigned char>(hex[i + 1]))
                            ? std::stoi(std::string(1, hex[i + 1]), nullptr, 16)
                            : -1;
        if (high < 0 || low < 0) {
            break;
        }
        record.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    const bool sound = arguments.starts_with("10 ") && record.size() == 38 &&
                       codec::Crc16(record.data(), 36) == ReadLe16(record, 36);
    if (!sound) {
        Reply("502 bad password record");
        return;
    }
    if (record[0] == 1) {
        m_adminKey = Bytes(record.begin() + 4, record.begin() + 36);
    } else {
        m_adminKey.reset();
    }
    Restart(false);
}

void SimBoard::OnSendEnvs(std::string_view) {
    if (m_faults.noSettings) {
        Reply("501 no settings");
        return;
    }
    SendBulk(m_environment);
}

void SimBoard::OnRecvEnvs(std::string_view) {
    if (m_faults.settingsRefused) {
        Reply("501 settings locked");
        return;
    }
    if (m_faults.settingsEarly412) {
        Reply("412 stored");  // and it takes nothing
        Reply("600 send settings");
        return;
    }
    Reply("600 send settings");
    if (m_faults.settingsTwice600) {
        Reply("600 send settings");
    }
    m_text.clear();
    m_mode = Mode::EnvironmentText;
}

void SimBoard::OnSendEnvc(std::string_view) {
    if (m_faults.noCertificates || m_certificates.empty()) {
        Reply("501 no certificates");
        return;
    }
    SendBulk(m_certificates);
}

void SimBoard::OnRecvEnvc(std::string_view) {
    if (m_faults.certificatesRefused) {
        Reply("501 certificates locked");
        return;
    }
    m_text.clear();
    m_mode = Mode::CertificateText;  // the text follows at once, without a "600 "
}

void SimBoard::OnGetFibMac(std::string_view) {
    std::string_view lines = m_config.network.mac;  // one line each, as given
    for (std::size_t end; (end = lines.find('\n')) != std::string_view::npos;
         lines.remove_prefix(end + 1)) {
        Reply(lines.substr(0, end));
    }
    Reply(lines);
    Reply("410 OK");
}

void SimBoard::OnGetUptime(std::string_view) {
    Reply(std::to_string((m_scheduler.NowMs() - m_startedMs) / 10));  // hundredths of a second
    Reply("410 OK");
}

// "pid net0 ioctl get ipaddr": a query of one of its network interfaces.
void SimBoard::OnPid(std::string_view arguments) {
    const std::string_view ioctl = " ioctl get ";
    const std::size_t at = arguments.find(ioctl);
    if (at == std::string_view::npos) {
        Reply("501 unknown command");
        return;
    }
    const std::string query = std::string(arguments.substr(0, at)) + " " +
                              std::string(arguments.substr(at + ioctl.size()));
    if (m_faults.silentQueries.count(query) != 0) {
        return;
    }
    const auto lines =
        m_faults.refusedQueries.count(query) != 0
            ? std::nullopt
            : AnswerQuery(query, m_config.network, m_environment, m_faults.endlessTables);
    if (!lines) {
        Reply("501 no such value");
        return;
    }
    for (const std::string& line : *lines) {
        Reply(line);
    }
    Reply("410 OK");
}

}  // namespace varnow::sim
