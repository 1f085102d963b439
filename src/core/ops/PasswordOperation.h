#pragma once

#include <optional>
#include <string>

#include "common/Cleansed.h"
#include "connect/ConnectSequence.h"
#include "connect/McuIdRead.h"
#include "ops/BoardRestart.h"
#include "ops/Operation.h"

namespace varnow {

// A password change: the new password (none: delete it), and the one the board takes now
// (none: it asks for none), so that the tool can tell afterwards which the board takes.
struct PasswordRequest {
    std::optional<std::string> newPassword;
    std::optional<std::string> oldPassword;
    // Connect to the board once it is back and log in with the new password; otherwise only
    // wait for its port (the desktop tool: its user connects again).
    bool reconnect = true;
};

enum class PasswordOutcome {
    Set,              // the board is back and takes the new password
    Deleted,          // the board is back and asks for none
    Restarted,        // (without reconnect) the board is back with what it was sent
    Refused,          // the board refused the record and did not restart: nothing changed
    NoMcuId,          // the board gives no MCU id: no key can be made for it
    McuIdUnsure,      // the MCU id read again is not the one read at connect: nothing sent
    OldStillTaken,    // the board is back and still takes the old password
    NeitherTaken,     // the board is back and takes neither password
    NotBack,          // it did not come back in time: it may hold either
    ReconnectFailed,  // it came back, but could not be connected
    OtherBoard,       // another board came back in its place
    TimedOut,         // the MCU id was not read again in time: nothing sent
    IspMode,
    NoBoard,
    BoardLost,
};

struct PasswordResult {
    Outcome<PasswordOutcome> outcome;
    std::optional<RestartResult> restart;
};

// Change or delete the board's administrator password: the MCU id that salts the key is read
// again and must be the one read at connect; the board restarts with the new record and is
// connected with the new password. When that fails the tool finds out which password the
// board takes, so that it is never left with a key nobody knows.
class PasswordOperation : public Operation {
public:
    PasswordOperation(BoardContext& board, PasswordRequest request);
    ~PasswordOperation() override;

    const PasswordResult& result() const { return m_result; }
    bool succeeded() const override;

private:
    // Answers a login with one password, once.
    class GivenPassword : public Questions {
    public:
        void Set(const std::optional<std::string>& password);
        void AskLoginPassword(bool again, PasswordAnswer answer) override;

    private:
        std::optional<Cleansed<std::string>> m_password;
    };

    void Begin() override;
    void OnMcuIdRead(const Outcome<McuIdOutcome>& read, const std::string& id);
    void OnRestarted(const RestartResult& restart);
    // The new password was not taken: does the board take the old one?
    void TryOldPassword();
    void Finish(PasswordOutcome outcome, std::string command = {});

    PasswordRequest m_request;
    McuIdRead m_mcuRead;
    BoardRestart m_restart;
    GivenPassword m_newLogin;
    GivenPassword m_oldLogin;
    ConnectSequence m_check;
    PasswordResult m_result;
};

}  // namespace varnow
