#include "PasswordCommands.h"

#include <CLI/CLI.hpp>

#include "CliHost.h"
#include "SettingsRun.h"
#include "TerminalSecret.h"
#include "common/Cleanse.h"
#include "settings/PasswordChange.h"

namespace varnow::cli {

void PasswordCommand::Define(CLI::App& command) {
    if (!m_delete) {
        command.add_option("--new-password", m_newPassword,
                           "the new password (else $VARNOW_NEW_PASSWORD, else asked twice)");
    }
}

std::optional<std::string> PasswordCommand::NewPassword(CommandContext& context, int& status) {
    std::optional<std::string> password =
        m_newPassword ? m_newPassword : context.options.newPassword;
    std::string retyped = password.value_or("");
    if (!password) {
        password = ReadSecretFromTerminal(context.Text(kCliNewPasswordPrompt));
        if (!password) {
            status =
                Finish(context, kExitUsage, "no-password", {}, OutcomeText{kCliNewPasswordNeeded});
            return std::nullopt;
        }
        retyped = ReadSecretFromTerminal(context.Text(kCliRetypePasswordPrompt)).value_or("");
    }
    const int problem = PasswordChange::Check(*password, retyped);
    Cleanse(retyped);
    if (problem != 0 || password->size() > PasswordChange::kLongest) {
        const int text = problem != 0 ? problem : kCliPasswordTooLong;
        Cleanse(*password);
        status = Finish(context, kExitUsage, "refused", {}, OutcomeText{text});
        return std::nullopt;
    }
    return password;
}

int PasswordCommand::Execute(CommandContext& context) {
    int status = kExitSuccess;
    std::optional<std::string> password;
    if (!m_delete && !(password = NewPassword(context, status))) {
        return status;
    }
    CliOutput::Fields fields;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    BoardSession& session = board->session();
    const std::string command = PasswordChange::Command(password, session.session().mcuId);
    // After its restart the board asks for the new password, or for none.
    board->host().UsePassword(password, false);
    if (password) {
        Cleanse(*password);
    }
    const auto changed = board->Await<PasswordChangeResult>(
        [&](auto done) { session.ChangePassword(command, true, std::move(done)); });
    if (!changed) {
        return FinishInterrupted(context, *board, kCliInterrupted, fields);
    }
    if (!changed->connect) {
        return Finish(context, kExitBoardLost, "not-back", fields,
                      OutcomeText{kErrNotBackAfterRestart});
    }
    const ConnectResult& connect = *changed->connect;
    const bool loggedIn = session.session().login;
    if (connect.code == ConnectOutcome::Identified && loggedIn != m_delete) {
        fields.push_back({"login", loggedIn});
        return Finish(context, kExitSuccess, m_delete ? "deleted" : "set", fields, std::nullopt);
    }
    const bool asked = connect.code == ConnectOutcome::LoginCancelled ||
                       connect.code == ConnectOutcome::LoginRefused || loggedIn;
    if (connect.code == ConnectOutcome::Identified || asked) {
        return Finish(context, kExitLoginRefused, "not-taken", fields,
                      OutcomeText{m_delete ? kCliPasswordStillAsked : kCliPasswordNotTaken});
    }
    return Finish(context, StatusOfConnect(connect.code), OutcomeName(connect.code), fields,
                  DescribeConnect(connect, board->portName()));
}

int RebootCommand::Execute(CommandContext& context) {
    CliOutput::Fields fields;
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    if (const auto failed = RebootAndReconnect(context, *board, fields)) {
        return *failed;
    }
    return Finish(context, kExitSuccess, "rebooted", fields, std::nullopt);
}

}  // namespace varnow::cli
