#include "BoardCommand.h"

#include "PortDiscovery.h"
#include "Secrets.h"
#include "link/PortIdentity.h"

namespace varnow::cli {

std::unique_ptr<BoardAccess> OpenChosenBoard(CommandContext& context, int& status) {
    const SecretRead password =
        ReadSecret(context.options.password, context.options.passwordFromEnvironment);
    if (password.problem) {
        status = Finish(context, kExitUsage, "no-password", {}, password.problem);
        return nullptr;
    }
    std::string port = context.options.port;
    if (!port.empty()) {
        const std::optional<std::string> named =
            ResolvePortArgument(platform::FollowSerialLink(port), context.listPorts());
        if (!named) {
            status =
                Finish(context, kExitNoPort, "no-port", {}, OutcomeText{kCliNoPortMatches, {port}});
            return nullptr;
        }
        port = *named;
    } else {
        const auto ports = context.listPorts();
        if (ports.size() != 1) {
            for (const auto& found : ports) {
                context.output.Note("  " + found.name);
            }
            const int text = ports.empty() ? kCliNoBoardPort : kCliSeveralBoardPorts;
            status = Finish(context, kExitNoPort, "no-port", {}, OutcomeText{text, {}});
            return nullptr;
        }
        port = ports.front().name;
    }
    return context.openBoard(port, password.secret);
}

int BoardCommand::Execute(CommandContext& context) {
    if (const std::optional<int> refused = Prepare(context)) {
        return *refused;
    }
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = OpenChosenBoard(context, status);
    if (!board) {
        return status;
    }
    CliOutput::Fields fields{{"port", Json(board->portName())}};
    const auto connect = board->Run<ConnectOperation>(board->portName(), TakesBootLoader());
    if (board->interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const ConnectReport& connected = connect->result();
    const bool bootLoader = connected.outcome.code == ConnectOutcome::IspMode && TakesBootLoader();
    if (!connect->succeeded() && !bootLoader) {
        return Finish(context, StatusOf(connected.outcome), OutcomeName(connected.outcome.code),
                      fields, DescribeConnect(connected.outcome, board->portName()), connect.get());
    }
    return OnBoard(context, *board, fields);
}

}  // namespace varnow::cli
