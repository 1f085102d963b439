#include "IdentifyCommand.h"

#include "BoardRun.h"

namespace varnow::cli {

int IdentifyCommand::Execute(CommandContext& context) {
    if (!context.arguments.empty()) {
        return kExitUsage;
    }
    const std::unique_ptr<BoardAccess> board = context.openBoard();
    if (!board) {
        return Finish(context, kExitNoPort, OutcomeName(ConnectOutcome::NoPortSelected), {},
                      OutcomeText{kErrNoPortChosen, {}});
    }
    const ConnectResult connected = ConnectBoard(*board);
    const SessionRecord& session = board->session().session();
    CliOutput::Fields fields{{"port", board->portName()}};
    if (connected.code == ConnectOutcome::Identified || connected.code == ConnectOutcome::IspMode) {
        fields.push_back({"isp", session.isp ? "yes" : "no"});
        if (!session.isp) {
            fields.push_back({"fib id", session.fibId});
            fields.push_back({"mcu id", session.mcuId});
            fields.push_back({"login", session.login ? "yes" : "no"});
        }
    }
    const ExitStatus status = StatusOfConnect(connected.code);
    return Finish(context, status, OutcomeName(connected.code), fields,
                  DescribeConnect(connected, board->portName()));
}

}  // namespace varnow::cli
