#include "CliHost.h"

#include <cstdio>
#include <iostream>

#include "ui/MessageIds.h"

#if defined(__unix__) || defined(__APPLE__)
#include <termios.h>
#include <unistd.h>
#define VARNOW_HAVE_TERMIOS 1
#endif

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
      m_password(std::move(password)) {}

MessageResult CliHost::ShowMessage(const Message& message) {
    m_output.Message(message);
    return message.style == MessageStyle::Question ? MessageResult::No : MessageResult::Ok;
}

void CliHost::ShowProgress(const ProgressState& state) {
    ProgressLine line{state.text, "working", state.current, state.showBar ? state.total : 0,
                      state.payload};
    switch (state.step) {
        case ProgressStep::Working:
            line.step = state.mode == ProgressMode::Connect ? "connecting" : "working";
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
}

void CliHost::FirmwareWindowShown(const FirmwareWindowState& state) {
    FirmwareWindowChanged(state);
}

void CliHost::FirmwareWindowChanged(const FirmwareWindowState& state) {
    switch (state.step) {
        case FirmwareStep::Checking:
        case FirmwareStep::Preparing:
            // The window's growing dots are for the window; a terminal line says it once.
            return m_output.Progress({Text(kCliStepBootLoader), "preparing"});
        case FirmwareStep::Transferring:
            return m_output.Progress({Text(kCliStepWritingFirmware), "writing-firmware",
                                      state.sent, state.total});
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
        password = ReadPasswordFromTerminal();
    }
    if (password && (password->size() < kMinimumPassword || password->size() > kMaximumPassword)) {
        ShowMessage(Message{kMsgPasswordTooShort, m_strings.Text(kMsgPasswordTooShort, m_language),
                            MessageStyle::Warning});
        return std::nullopt;
    }
    return password;
}

std::optional<std::string> CliHost::ReadPasswordFromTerminal() {
#ifdef VARNOW_HAVE_TERMIOS
    if (!isatty(0)) {
        return std::nullopt;
    }
    m_output.EndProgress();
    std::cerr << Text(kCliPasswordPrompt) << std::flush;
    termios saved{};
    tcgetattr(0, &saved);
    termios silent = saved;
    silent.c_lflag &= static_cast<tcflag_t>(~ECHO);
    tcsetattr(0, TCSANOW, &silent);
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    tcsetattr(0, TCSANOW, &saved);
    std::cerr << std::endl;
    if (!read || line.empty()) {
        return std::nullopt;
    }
    return line;
#else
    return std::nullopt;
#endif
}

}  // namespace varnow::cli
