#include "RebootCommand.h"

#include "app/OutcomeNames.h"
#include "ops/RebootOperation.h"

namespace varnow::cli {

int RebootCommand::OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) {
    const auto reboot = board.Run<RebootOperation>();
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const RestartResult& result = reboot->result();
    if (reboot->succeeded()) {
        fields.push_back({"rebooted", true});
        return Finish(context, kExitSuccess, "rebooted", fields, std::nullopt);
    }
    return Finish(context, StatusOf(result), OutcomeName(result.outcome.code), fields,
                  DescribeRestart(result, board.portName()), reboot.get());
}

}  // namespace varnow::cli
