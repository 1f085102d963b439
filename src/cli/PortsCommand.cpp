#include "PortsCommand.h"

#include <QJsonArray>

#include "Report.h"

namespace varnow::cli {

int PortsCommand::Execute(CommandContext& context) {
    const auto ports = context.listPorts();
    QJsonArray names;
    for (const auto& port : ports) {
        CliOutput::Fields fields{{"port", QString::fromStdString(port.name)},
                                 {"name", QString::fromStdString(port.label)},
                                 {"description", QString::fromStdString(port.description)},
                                 {"simulated", port.simulated}};
        // What the system tells of a USB port, for --port usb:SERIAL and usb-path:PATH.
        if (port.vendorId != 0 || port.productId != 0) {
            fields.push_back(
                {"usb_id", QString::asprintf("%04x:%04x", port.vendorId, port.productId)});
        }
        if (!port.usbSerial.empty()) {
            fields.push_back({"usb_serial", QString::fromStdString(port.usbSerial)});
        }
        if (!port.physicalPath.empty()) {
            fields.push_back({"usb_path", QString::fromStdString(port.physicalPath)});
        }
        context.output.Row("port", fields);
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
