#include "PortsCommand.h"

#include <QJsonArray>

#include "Report.h"

namespace varnow::cli {

int PortsCommand::Execute(CommandContext& context) {
    const auto ports = context.listPorts();
    QJsonArray names;
    for (const auto& port : ports) {
        context.output.Row("port", {{"port", QString::fromStdString(port.name)},
                                    {"name", QString::fromStdString(port.label)},
                                    {"description", QString::fromStdString(port.description)},
                                    {"simulated", port.simulated}});
        names.append(QString::fromStdString(port.name));
    }
    if (ports.empty()) {
        context.output.Note(context.Text(kCliNoBoardPort));
    }
    if (context.output.json()) {
        context.output.Result(kExitSuccess, "listed",
                              {{"count", static_cast<int>(ports.size())}, {"ports", names}});
    }
    return kExitSuccess;
}

}  // namespace varnow::cli
