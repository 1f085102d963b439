#include "CliHost.h"

#include "TerminalSecret.h"
#include "common/Cleanse.h"
#include "ui/MessageIds.h"

namespace varnow::cli {
namespace {
constexpr std::size_t kMinimumPassword = 8;
constexpr std::size_t kMaximumPassword = 32;
}  // namespace

CliHost::CliHost(CliOutput& output, const StringTable& strings, Language language, std::string port,
                 std::optional<std::string> password)
    : m_output(output),
      m_strings(strings),
      m_language(language),
      m_port(std::move(port)),
      m_password(std::move(password)) {
    QObject::connect(&m_spin, &QTimer::timeout, [this] { m_output.Progress(m_spinning); });
}

MessageResult CliHost::ShowMessage(const Message& message) {
    m_output.Message(message);
    return message.style == MessageStyle::Question ? MessageResult::No : MessageResult::Ok;
}

CliHost::~CliHost() {
    if (m_password) {
        Cleanse(*m_password);
    }
}

void CliHost::UsePassword(std::optional<std::string> password, bool mayPrompt) {
    if (m_password) {
        Cleanse(*m_password);
    }
    m_password = std::move(password);
    m_passwordOffered = false;
    m_mayPrompt = mayPrompt;
}

void CliHost::ShowProgress(const ProgressState& state) {
    ProgressLine line{state.text, "working", state.current, state.showBar ? state.total : 0,
                      state.payload};
    switch (state.step) {
        case ProgressStep::Working:
            line.step = state.mode == ProgressMode::Connect     ? "connecting"
                        : state.mode == ProgressMode::MakingKey ? "making-key"
                                                                : "working";
            break;
        case ProgressStep::Sending:
            line.step = "sending";
            break;
        case ProgressStep::Storing:
            line = ProgressLine{Text(kCliStepStoring), "storing"};
            break;
        case ProgressStep::Verifying:
            line = ProgressLine{Text(kCliStepVerifying), "verifying"};
            break;
    }
    m_output.Progress(line);
    if (line.total > 0) {
        m_spin.stop();
    } else {
        m_spinning = line;
        if (!m_spin.isActive()) {
            m_spin.start(100);
        }
    }
}

void CliHost::FirmwareWindowShown(const FirmwareWindowState& state) {
    FirmwareWindowChanged(state);
}

void CliHost::FirmwareWindowChanged(const FirmwareWindowState& state) {
    m_spin.stop();
    switch (state.step) {
        case FirmwareStep::Checking:
        case FirmwareStep::Preparing:
            // The window's growing dots are for the window; a terminal line says it once.
            return m_output.Progress({Text(kCliStepBootLoader), "preparing"});
        case FirmwareStep::Transferring:
            return m_output.Progress(
                {Text(kCliStepWritingFirmware), "writing-firmware", state.sent, state.total});
        case FirmwareStep::Programming:
            return m_output.Progress({Text(kCliStepProgramming), "programming"});
        case FirmwareStep::Restarting:
            return m_output.Progress({Text(kCliStepRestarting), "restarting"});
    }
}

std::optional<std::string> CliHost::AskLoginPassword() {
    std::optional<std::string> password;
    if (m_password) {
        // A given password is offered once; asking again means the board refused it.
        if (m_passwordOffered) {
            return std::nullopt;
        }
        m_passwordOffered = true;
        password = m_password;
    } else {
        if (m_mayPrompt) {
            m_output.EndProgress();
            password = ReadSecretFromTerminal(Text(kCliPasswordPrompt));
        }
    }
    if (password && (password->size() < kMinimumPassword || password->size() > kMaximumPassword)) {
        ShowMessage(Message{kMsgPasswordTooShort, m_strings.Text(kMsgPasswordTooShort, m_language),
                            MessageStyle::Warning});
        return std::nullopt;
    }
    return password;
}

}  // namespace varnow::cli
