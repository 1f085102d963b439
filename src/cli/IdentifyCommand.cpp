#include "IdentifyCommand.h"

namespace varnow::cli {

int IdentifyCommand::OnBoard(CommandContext& context, BoardAccess& board,
                             CliOutput::Fields& fields) {
    const SessionRecord& session = board.session().session();
    fields.push_back({"isp", session.isp});
    if (session.isp) {
        // A board in its boot loader is found, but not identified: it runs no script.
        return Finish(context, kExitIspMode, "isp-mode", fields, OutcomeText{kErrInBootLoader});
    }
    fields.push_back({"fib_id", Json(session.fibId)});
    fields.push_back({"mcu_id", Json(session.mcuId)});
    fields.push_back({"login", session.login});
    return Finish(context, kExitSuccess, "identified", fields, std::nullopt);
}

}  // namespace varnow::cli
