#include "IdentifyCommand.h"

#include "BoardConnection.h"
#include "ExitStatus.h"

namespace varnow::cli {

int IdentifyCommand::Execute(CommandContext& context) {
    if (!context.arguments.empty()) {
        return kExitUsage;
    }
    BoardConnection connection(context.options, context.output, context.strings);
    if (!connection.ChoosePort()) {
        context.output.Result(kExitNoPort, OutcomeName(ConnectOutcome::NoPortSelected), {});
        return kExitNoPort;
    }
    const ConnectOutcome outcome = connection.Connect();
    const ExitStatus status = StatusOfConnect(outcome);
    const SessionRecord& session = connection.writer().session();
    CliOutput::Fields fields;
    if (outcome == ConnectOutcome::Identified || outcome == ConnectOutcome::IspMode) {
        fields = {
            {"port", session.portName},
            {"isp", session.isp ? "yes" : "no"},
            {"fib id", session.fibId},
            {"mcu id", session.mcuId},
            {"login", session.login ? "yes" : "no"},
        };
    } else {
        fields = {{"port", connection.portName()}};
    }
    context.output.Result(status, OutcomeName(outcome), fields);
    return status;
}

}  // namespace varnow::cli
