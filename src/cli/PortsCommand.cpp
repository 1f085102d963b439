#include "PortsCommand.h"

#include "ExitStatus.h"
#include "PortDiscovery.h"

namespace varnow::cli {

int PortsCommand::Execute(CommandContext& context) {
    if (!context.arguments.empty()) {
        return kExitUsage;
    }
    const auto ports = platform::DiscoverBoardPorts();
    std::string names;
    for (const auto& port : ports) {
        context.output.Line(port.name + "\t" + port.description);
        names += (names.empty() ? "" : " ") + port.name;
    }
    if (context.output.json()) {
        context.output.Result(kExitSuccess, "listed",
                              {{"count", std::to_string(ports.size())}, {"ports", names}});
    }
    return kExitSuccess;
}

}  // namespace varnow::cli
