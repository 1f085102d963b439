#include "PasswordCommand.h"

#include <CLI/CLI.hpp>

#include "Secrets.h"
#include "TerminalSecret.h"
#include "app/OutcomeNames.h"
#include "common/Cleanse.h"
#include "common/Utf8Text.h"
#include "ops/PasswordOperation.h"
#include "settings/PasswordChange.h"

namespace varnow::cli {

void PasswordCommand::Define(CLI::App& command) {
    if (m_delete) {
        return;
    }
    auto* ask = command.add_flag("--new-password", m_source.ask,
                                 "ask for the new password on the terminal, twice (the default "
                                 "without the options below)");
    auto* variable = command.add_option("--new-password-env", m_source.variable,
                                        "the new password is in this environment variable");
    auto* file = command.add_option("--new-password-file", m_source.file,
                                    "the new password is the first line of this file");
    ask->excludes(variable)->excludes(file);
    variable->excludes(file);
}

std::optional<int> PasswordCommand::Prepare(CommandContext& context) {
    if (m_delete) {
        return std::nullopt;
    }
    SecretRead given = ReadSecret(m_source, context.options.newPasswordFromEnvironment);
    if (given.problem) {
        return Finish(context, kExitUsage, "no-password", {}, given.problem);
    }
    std::string retyped;
    if (given.secret) {
        retyped = *given.secret;
    } else {
        platform::TerminalAnswer typed =
            platform::ReadSecretFromTerminal(context.Text(kCliNewPasswordPrompt));
        if (typed.status == platform::TerminalAnswer::Status::Interrupted) {
            return FinishInterrupted(context, kCliInterrupted, {});
        }
        if (typed.status != platform::TerminalAnswer::Status::Answered || typed.text.empty()) {
            return Finish(context, kExitUsage, "no-password", {},
                          OutcomeText{kCliNewPasswordNeeded});
        }
        given.secret = std::move(typed.text);
        platform::TerminalAnswer again =
            platform::ReadSecretFromTerminal(context.Text(kCliRetypePasswordPrompt));
        if (again.status == platform::TerminalAnswer::Status::Interrupted) {
            Cleanse(*given.secret);
            return FinishInterrupted(context, kCliInterrupted, {});
        }
        retyped = std::move(again.text);
    }
    const int problem = PasswordChange::Check(*given.secret, retyped);
    Cleanse(retyped);
    const bool tooLong = Utf8Characters(*given.secret) > PasswordChange::kLongest;
    if (problem != 0 || tooLong) {
        Cleanse(*given.secret);
        return Finish(context, kExitUsage, "refused", {},
                      OutcomeText{problem != 0 ? problem : kCliPasswordTooLong});
    }
    m_newPassword.emplace(std::move(*given.secret));
    return std::nullopt;
}

int PasswordCommand::OnBoard(CommandContext& context, BoardAccess& board,
                             CliOutput::Fields& fields) {
    PasswordRequest request;
    if (m_newPassword) {
        request.newPassword = m_newPassword->get();
    }
    // The password the board took at this connect, to tell afterwards which one it takes.
    if (board.session().session().login) {
        request.oldPassword = board.host().lastLoginPassword();
    }
    m_newPassword.reset();
    const auto change = board.Run<PasswordOperation>(std::move(request));
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const PasswordResult& result = change->result();
    if (change->succeeded()) {
        fields.push_back({"login", board.session().session().login});
        return Finish(context, kExitSuccess, m_delete ? "deleted" : "set", fields, std::nullopt);
    }
    return Finish(context, StatusOf(result), OutcomeName(result.outcome.code), fields,
                  DescribePassword(result, m_delete), change.get());
}

}  // namespace varnow::cli
