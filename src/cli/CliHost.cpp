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
    m_output.Progress(state.text, static_cast<int>(state.current),
                      state.showBar ? static_cast<int>(state.total) : 0, ++m_frame);
}

void CliHost::FirmwareWindowShown(const FirmwareWindowState& state) {
    FirmwareWindowChanged(state);
}

void CliHost::FirmwareWindowChanged(const FirmwareWindowState& state) {
    if (state.standby) {
        // The growing dots are for the window; a terminal line shows the text once.
        std::string status = state.status;
        while (!status.empty() && status.back() == '.') {
            status.pop_back();
        }
        m_output.Progress(status, 0, 0, ++m_frame);
        return;
    }
    m_output.Progress(state.finished ? state.status : "Transferring firmware.",
                      static_cast<int>(state.sent), static_cast<int>(state.total), ++m_frame);
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
    std::cerr << "Password for Admin: " << std::flush;
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
