#include "IdentifyCommand.h"

#include "BoardRun.h"

namespace varnow::cli {

int IdentifyCommand::Execute(CommandContext& context) {
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = OpenChosenBoard(context, status);
    if (!board) {
        return status;
    }
    CliOutput::Fields fields{{"port", QString::fromStdString(board->portName())}};
    const std::optional<ConnectResult> connected = ConnectBoard(*board);
    if (!connected) {
        return FinishInterrupted(context, *board, kCliInterrupted, fields);
    }
    const SessionRecord& session = board->session().session();
    if (connected->code == ConnectOutcome::Identified ||
        connected->code == ConnectOutcome::IspMode) {
        fields.push_back({"isp", session.isp});
        if (!session.isp) {
            fields.push_back({"fib_id", QString::fromStdString(session.fibId)});
            fields.push_back({"mcu_id", QString::fromStdString(session.mcuId)});
            fields.push_back({"login", session.login});
        }
    }
    return Finish(context, StatusOfConnect(connected->code), OutcomeName(connected->code), fields,
                  DescribeConnect(*connected, board->portName()));
}

}  // namespace varnow::cli
