#include "InfoCommands.h"

#include <QJsonArray>
#include <QJsonObject>

#include "SettingsRun.h"
#include "info/DurationText.h"
#include "info/NetworkInfoRead.h"
#include "info/ProductInfoRead.h"

namespace varnow::cli {
namespace {

QJsonValue Text(const std::string& text) {
    return QString::fromStdString(text);
}

QJsonArray Lines(const std::vector<std::string>& lines) {
    QJsonArray array;
    for (const std::string& line : lines) {
        array.append(Text(line));
    }
    return array;
}

CliOutput::Fields ProductFields(CommandContext& context, const ProductInfo& info) {
    const FibInfo fib = info.fib();
    const std::string pattern = context.strings.Text(kTextUptimePattern, context.options.language);
    CliOutput::Fields fields{
        {"product_name", Text(info.productName)},
        {"kofs_name", Text(info.kofsName)},
        {"uptime", Text(info.uptimeReply.empty() ? "" : DurationText(pattern, info.uptimeSeconds()))},
        {"uptime_seconds", static_cast<double>(info.uptimeSeconds())},
        {"mac", Text(info.mac)},
        {"firmware_name", Text(info.firmwareName)},
        {"fib_id", Text(info.fibId)},
    };
    if (fib.version) {
        const FirmwareVersion& v = *fib.version;
        // Three numbers for scripts; one text for people.
        fields.push_back({"version", context.output.json()
                                         ? QJsonValue(QJsonArray{v.major, v.minor, v.patch})
                                         : Text(std::to_string(v.major) + "." +
                                                std::to_string(v.minor) + "." +
                                                std::to_string(v.patch))});
    }
    if (fib.sizeKib) {
        fields.push_back({"size_kib", *fib.sizeKib});
    }
    return fields;
}

QJsonObject NetworkObject(const NetworkInfo& info, const NetworkReports& reports) {
    return QJsonObject{
        {"ipv4", QJsonObject{{"address", Text(info.ipv4Address)},
                             {"netmask", Text(info.subnetMask)},
                             {"gateway", Text(info.gateway)},
                             {"name_server", Text(info.nameServer)}}},
        {"ipv6", QJsonObject{{"link_local", Text(info.linkLocal)},
                             {"global", Text(info.global)},
                             {"prefix", info.prefix6},
                             {"gateway", Text(info.gateway6)}}},
        {"conflict", QJsonObject{{"count", info.conflictCount},
                                 {"mac", Text(info.conflictMac)},
                                 {"seconds", static_cast<double>(info.conflictSeconds)}}},
        {"wireless", QJsonObject{{"operative", !info.mode.empty()},
                                 {"mode", Text(info.mode)},
                                 {"ssid", Text(info.ssid)},
                                 {"signal_dbm", -static_cast<double>(LeadingDecimal(info.signal))},
                                 {"security", Text(info.security)},
                                 {"certification", Text(info.certification)},
                                 {"encryption", Text(info.encryption)}}},
        {"arp", Lines(info.arp)},
        {"neighbours", Lines(info.neighbours)},
        {"reports", QJsonObject{{"network", Text(reports.network)},
                                {"wireless", Text(reports.wireless)},
                                {"tables", Text(reports.tables)}}},
    };
}

std::string ForPeople(std::string text) {
    std::erase(text, '\r');
    return text;
}

}  // namespace

int InfoCommand::Execute(CommandContext& context) {
    CliOutput::Fields fields;
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    std::optional<ProductInfo> info;
    const auto outcome = board->Await<Outcome<ProductInfoOutcome>>([&](auto done) {
        board->session().ReadProductInfo([&info, done](const auto& ended, const ProductInfo& read) {
            info = read;
            done(ended);
        });
    });
    if (!outcome) {
        return FinishInterrupted(context, *board, kCliInterrupted, fields);
    }
    switch (outcome->code) {
        case ProductInfoOutcome::Read: {
            const CliOutput::Fields product = ProductFields(context, *info);
            fields.insert(fields.end(), product.begin(), product.end());
            return Finish(context, kExitSuccess, "read", fields, std::nullopt);
        }
        case ProductInfoOutcome::TimedOut:
        case ProductInfoOutcome::HeadStalled:
            return Finish(context, kExitBoardSilent, "timed-out", fields,
                          OutcomeText{kErrNoAnswer, {outcome->command}});
        case ProductInfoOutcome::Undecodable:
            return Finish(context, kExitFailure, "undecodable", fields,
                          OutcomeText{kMsgGetConfigurationFailed});
        case ProductInfoOutcome::MalformedTail:
            return Finish(context, kExitFailure, "malformed-tail", fields,
                          OutcomeText{kMsgGetConfigurationFailed});
        case ProductInfoOutcome::NoBoard:
        case ProductInfoOutcome::PortLost:
            break;
    }
    return Finish(context, kExitBoardLost, "board-lost", fields, OutcomeText{kErrPortVanished});
}

int NetInfoCommand::Execute(CommandContext& context) {
    CliOutput::Fields fields;
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    std::optional<NetworkInfo> info;
    const auto outcome = board->Await<Outcome<NetworkInfoOutcome>>([&](auto done) {
        board->session().ReadNetworkInfo([&info, done](const auto& ended, const NetworkInfo& read) {
            info = read;
            done(ended);
        });
    });
    if (!outcome) {
        return FinishInterrupted(context, *board, kCliInterrupted, fields);
    }
    switch (outcome->code) {
        case NetworkInfoOutcome::Read: {
            const NetworkReports reports =
                BuildNetworkReports(*info, context.strings, context.options.language);
            if (context.output.json()) {
                const QJsonObject network = NetworkObject(*info, reports);
                for (auto it = network.begin(); it != network.end(); ++it) {
                    fields.push_back({it.key().toStdString(), it.value()});
                }
            } else {
                context.output.Document(ForPeople(reports.network) + "\n\n" +
                                        ForPeople(reports.wireless) + "\n\n" +
                                        ForPeople(reports.tables) + "\n");
            }
            return Finish(context, kExitSuccess, "read", fields, std::nullopt);
        }
        case NetworkInfoOutcome::Refused:
            return Finish(context, kExitFailure, "refused", fields,
                          OutcomeText{kMsgNetworkInfoFailed});
        case NetworkInfoOutcome::TimedOut:
            return Finish(context, kExitBoardSilent, "timed-out", fields,
                          OutcomeText{kErrNoAnswer, {outcome->command}});
        case NetworkInfoOutcome::NoBoard:
        case NetworkInfoOutcome::PortLost:
            break;
    }
    return Finish(context, kExitBoardLost, "board-lost", fields, OutcomeText{kErrPortVanished});
}

}  // namespace varnow::cli
