#include "CliHost.h"

#include <QCoreApplication>

#include "TerminalSecret.h"
#include "common/Cleanse.h"
#include "common/Utf8Text.h"
#include "settings/PasswordChange.h"
#include "ui/MessageIds.h"

namespace varnow::cli {

CliHost::CliHost(CliOutput& output, const StringTable& strings, Language language, std::string port,
                 std::optional<std::string> password)
    : m_output(output), m_strings(strings), m_language(language), m_port(std::move(port)) {
    if (password) {
        m_password.emplace(std::move(*password));
    }
    QObject::connect(&m_spin, &QTimer::timeout, [this] { m_output.Progress(m_spinning); });
}

MessageResult CliHost::ShowMessage(const Message& message) {
    m_output.Message(message);
    return MessageResult::Ok;
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
            line = ProgressLine{state.stepSeconds >= 0 ? state.text : Text(kCliStepStoring),
                                "storing"};
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
        // The spinner turns with the application's event loop (none when run in-process).
        if (!m_spin.isActive() && QCoreApplication::instance() != nullptr) {
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

void CliHost::AskLoginPassword(bool again, PasswordAnswer answer) {
    std::optional<std::string> password;
    if (m_password) {
        // A given password is offered once; asking again means the board refused it.
        if (!m_passwordOffered && !again) {
            m_passwordOffered = true;
            password = m_password->get();
        }
    } else if (m_mayPrompt) {
        m_output.EndProgress();
        platform::TerminalAnswer typed = platform::ReadSecretFromTerminal(Text(kCliPasswordPrompt));
        if (typed.status == platform::TerminalAnswer::Status::Interrupted) {
            if (m_interrupted) {
                m_interrupted();
            }
        } else if (typed.status == platform::TerminalAnswer::Status::Answered &&
                   !typed.text.empty()) {
            password = std::move(typed.text);
        }
        Cleanse(typed.text);
    }
    const std::size_t characters = password ? Utf8Characters(*password) : 0;
    if (password &&
        (characters < PasswordChange::kShortest || characters > PasswordChange::kLongest)) {
        m_output.Message(
            Message{kMsgPasswordTooShort, Text(kMsgPasswordTooShort), MessageStyle::Warning});
        Cleanse(*password);
        password.reset();
    }
    if (password) {
        m_lastAnswer.emplace(*password);
    }
    answer(std::move(password));
}

}  // namespace varnow::cli
