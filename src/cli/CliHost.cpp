#include "CliHost.h"

#include "firmware/FirmwareUpgrade.h"
#include "ui/MessageIds.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <iostream>

#if defined(__unix__) || defined(__APPLE__)
#include <termios.h>
#include <unistd.h>
#define VARNOW_HAVE_TERMIOS 1
#endif

namespace varnow::cli {
namespace {
constexpr std::size_t kMinimumPassword = 8;
constexpr std::size_t kMaximumPassword = 32;
// How long a board may take to come back after its firmware was written.
constexpr qint64 kReconnectWaitMs = 30000;
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

void CliHost::RunProgress(ProgressMode mode, const std::function<void()>& started) {
    static constexpr int kTextIds[] = {117, 123, 154};
    m_progressText = m_strings.Text(kTextIds[static_cast<int>(mode)], m_language);
    m_total = 0;
    m_current = 0;
    m_progressClosed = false;
    QEventLoop loop;
    m_progressLoop = &loop;
    QTimer spinner;
    QObject::connect(&spinner, &QTimer::timeout, [this] {
        if (m_chainEnded && m_chainEnded()) {
            CloseProgress();
            return;
        }
        m_output.Progress(m_progressText, m_current, m_total, ++m_frame);
    });
    spinner.start(100);
    m_output.Progress(m_progressText, 0, 0, m_frame);
    if (mode != ProgressMode::Password && started) {
        QTimer::singleShot(10, &loop, started);
    }
    if (!m_progressClosed) {
        loop.exec();
    }
    m_progressLoop = nullptr;
    m_output.EndProgress();
}

void CliHost::CloseProgress() {
    m_progressClosed = true;
    if (m_progressLoop) {
        m_progressLoop->quit();
    }
}

void CliHost::SetProgressText(const std::string& text, bool) {
    m_progressText = text;
    m_output.Progress(m_progressText, m_current, m_total, m_frame);
}

void CliHost::SetProgressCurrent(int current) {
    m_current = current;
    m_output.Progress(m_progressText, m_current, m_total, m_frame);
}

void CliHost::RunFirmwareWindow(FirmwareUpgrade& upgrade) {
    QEventLoop loop;
    m_firmwareLoop = &loop;
    m_firmware = &upgrade;
    QTimer watch;
    QElapsedTimer sinceFinished;
    // Nobody closes a window at a terminal: it closes itself once it has failed, or when the
    // board has not come back long after the transfer.
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const bool failed = upgrade.outcome() == FirmwareOutcome::Failed ||
                            upgrade.outcome() == FirmwareOutcome::FileRefused;
        if (upgrade.finished() && !sinceFinished.isValid()) {
            sinceFinished.start();
        }
        const bool boardGone = sinceFinished.isValid() && sinceFinished.elapsed() > kReconnectWaitMs;
        if ((failed && upgrade.enabled()) || boardGone || (m_chainEnded && m_chainEnded())) {
            loop.quit();
        }
    });
    watch.start(50);
    QTimer::singleShot(0, &loop, [&upgrade] { upgrade.Start(); });
    loop.exec();
    m_firmwareLoop = nullptr;
    m_firmware = nullptr;
    m_output.EndProgress();
}

void CliHost::CloseFirmwareWindow() {
    if (m_firmwareLoop) {
        m_firmwareLoop->quit();
    }
}

void CliHost::FirmwareWindowChanged() {
    if (!m_firmware) {
        return;
    }
    if (m_firmware->standby()) {
        // The growing dots are for the window; a terminal line shows the text once.
        std::string status = m_firmware->status();
        while (!status.empty() && status.back() == '.') {
            status.pop_back();
        }
        m_output.Progress(status, 0, 0, ++m_frame);
        return;
    }
    m_output.Progress(m_firmware->finished() ? m_firmware->status() : "Transferring firmware.",
                      static_cast<int>(m_firmware->sent()), static_cast<int>(m_firmware->total()),
                      ++m_frame);
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
