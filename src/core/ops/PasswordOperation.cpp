#include "ops/PasswordOperation.h"

#include <utility>

#include "common/Cleanse.h"
#include "common/McuId.h"
#include "link/CommandStates.h"
#include "settings/PasswordChange.h"
#include "ui/MessageIds.h"

namespace varnow {

void PasswordOperation::GivenPassword::Set(const std::optional<std::string>& password) {
    m_password.reset();
    if (password) {
        m_password.emplace(*password);
    }
}

void PasswordOperation::GivenPassword::AskLoginPassword(bool again, PasswordAnswer answer) {
    // A password that was refused is not offered again.
    if (again || !m_password) {
        return answer(std::nullopt);
    }
    answer(m_password->get());
}

PasswordOperation::PasswordOperation(BoardContext& board, PasswordRequest request)
    : Operation(board),
      m_request(std::move(request)),
      m_mcuRead(board.link()),
      m_restart(board),
      m_check(board.link(), messenger(), m_oldLogin) {
    m_newLogin.Set(m_request.newPassword);
    m_oldLogin.Set(m_request.oldPassword);
}

PasswordOperation::~PasswordOperation() {
    for (std::optional<std::string>* secret : {&m_request.newPassword, &m_request.oldPassword}) {
        if (*secret) {
            Cleanse(**secret);
        }
    }
}

bool PasswordOperation::succeeded() const {
    const PasswordOutcome code = m_result.outcome.code;
    return code == PasswordOutcome::Set || code == PasswordOutcome::Deleted ||
           code == PasswordOutcome::Restarted;
}

void PasswordOperation::Begin() {
    const SessionRecord& session = link().session();
    if (!link().portOpen()) {
        messenger().Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(PasswordOutcome::NoBoard);
    }
    if (session.isp) {
        messenger().Show(kMsgIspModeRefusal, MessageStyle::Warning);
        return Finish(PasswordOutcome::IspMode);
    }
    if (!IsMcuId(session.mcuId)) {
        return Finish(PasswordOutcome::NoMcuId);
    }
    // The key is salted with the MCU id: read it once more, and only when both reads agree is
    // a key made from it.
    m_mcuRead.Start([this](const Outcome<McuIdOutcome>& read, const std::string& id) {
        OnMcuIdRead(read, id);
    });
}

void PasswordOperation::OnMcuIdRead(const Outcome<McuIdOutcome>& read, const std::string& id) {
    switch (read.code) {
        case McuIdOutcome::Read:
            break;
        case McuIdOutcome::TimedOut:
            return Finish(PasswordOutcome::TimedOut, read.command);
        case McuIdOutcome::PortLost:
            return Finish(PasswordOutcome::BoardLost);
        case McuIdOutcome::None:
        case McuIdOutcome::Unreadable:
            return Finish(PasswordOutcome::McuIdUnsure, read.command);
    }
    if (id != link().session().mcuId) {
        return Finish(PasswordOutcome::McuIdUnsure, "get id mcu");
    }
    std::string command = PasswordChange::Command(m_request.newPassword, id);
    m_restart.Start(std::move(command), kStatePassword, &m_newLogin, m_request.reconnect,
                    [this](const RestartResult& restart) { OnRestarted(restart); });
}

void PasswordOperation::OnRestarted(const RestartResult& restart) {
    m_result.restart = restart;
    const bool deleting = !m_request.newPassword;
    switch (restart.outcome.code) {
        case RestartOutcome::Refused:
            return Finish(PasswordOutcome::Refused, "reboot psk");
        case RestartOutcome::NotBack:
            return Finish(PasswordOutcome::NotBack);
        case RestartOutcome::OtherBoard:
            return Finish(PasswordOutcome::OtherBoard);
        case RestartOutcome::NoBoard:
            return Finish(PasswordOutcome::NoBoard);
        case RestartOutcome::Back:
            if (!m_request.reconnect) {
                return Finish(PasswordOutcome::Restarted);
            }
            // A new password is taken when the board asked for it; a deleted one when the
            // board asked for none.
            if (link().session().login != deleting) {
                return Finish(deleting ? PasswordOutcome::Deleted : PasswordOutcome::Set);
            }
            return TryOldPassword();
        case RestartOutcome::ReconnectFailed: {
            const ConnectOutcome code =
                restart.connect ? restart.connect->code : ConnectOutcome::PortLost;
            if (code == ConnectOutcome::LoginRefused || code == ConnectOutcome::LoginCancelled) {
                return TryOldPassword();
            }
            return Finish(PasswordOutcome::ReconnectFailed, restart.outcome.command);
        }
    }
}

void PasswordOperation::TryOldPassword() {
    // The board did not take the new password: see whether it still takes the old one.
    link().Disconnect();
    m_check.Start(link().session().portName, false, [this](const ConnectResult& connect) {
        const bool takesOld = connect.code == ConnectOutcome::Identified &&
                              link().session().login == m_request.oldPassword.has_value();
        if (connect.code != ConnectOutcome::Identified && !takesOld &&
            connect.code != ConnectOutcome::LoginRefused &&
            connect.code != ConnectOutcome::LoginCancelled) {
            return Finish(PasswordOutcome::ReconnectFailed, connect.command);
        }
        Finish(takesOld ? PasswordOutcome::OldStillTaken : PasswordOutcome::NeitherTaken);
    });
}

void PasswordOperation::Finish(PasswordOutcome outcome, std::string command) {
    m_result.outcome = Outcome<PasswordOutcome>{outcome, std::move(command)};
    End();
}

}  // namespace varnow
