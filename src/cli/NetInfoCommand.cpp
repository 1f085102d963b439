#include "NetInfoCommand.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>

#include "app/OutcomeNames.h"
#include "info/DurationText.h"
#include "ops/InfoOperations.h"

namespace varnow::cli {
namespace {

QJsonArray Lines(const std::vector<std::string>& lines) {
    QJsonArray array;
    for (const std::string& line : lines) {
        array.append(Json(line));
    }
    return array;
}

QJsonObject NetworkObject(const NetworkInfoResult& result, const NetworkReports& reports) {
    const NetworkInfo& info = result.info;
    // A value that came damaged is null, never what the line made of it.
    const auto value = [&](const char* name, QJsonValue given) {
        const bool unreadable = std::find(result.unreadable.begin(), result.unreadable.end(),
                                          name) != result.unreadable.end();
        return unreadable ? QJsonValue(QJsonValue::Null) : given;
    };
    return QJsonObject{
        {"ipv4", QJsonObject{{"address", value("ipv4.address", Json(info.ipv4Address))},
                             {"netmask", value("ipv4.netmask", Json(info.subnetMask))},
                             {"gateway", value("ipv4.gateway", Json(info.gateway))},
                             {"name_server", value("ipv4.dns", Json(info.nameServer))}}},
        {"ipv6", QJsonObject{{"link_local", value("ipv6.link_local", Json(info.linkLocal))},
                             {"global", value("ipv6.global", Json(info.global))},
                             {"prefix", value("ipv6.prefix", info.prefix6)},
                             {"gateway", value("ipv6.gateway", Json(info.gateway6))}}},
        {"conflict", QJsonObject{{"count", value("conflict.count", info.conflictCount)},
                                 {"mac", value("conflict.mac", Json(info.conflictMac))},
                                 {"seconds", value("conflict.seconds",
                                                   static_cast<double>(info.conflictSeconds))}}},
        {"wireless",
         QJsonObject{{"operative", !info.mode.empty()},
                     {"mode", Json(info.mode)},
                     {"ssid", Json(info.ssid)},
                     {"signal_dbm",
                      value("wlan.signal", -static_cast<double>(LeadingDecimal(info.signal)))},
                     {"security", Json(info.security)},
                     {"certification", Json(info.certification)},
                     {"encryption", Json(info.encryption)}}},
        {"arp", Lines(info.arp)},
        {"neighbours", Lines(info.neighbours)},
        {"unreadable", Lines(result.unreadable)},
        {"reports", QJsonObject{{"network", Json(reports.network)},
                                {"wireless", Json(reports.wireless)},
                                {"tables", Json(reports.tables)}}},
    };
}

std::string ForPeople(std::string text) {
    std::erase(text, '\r');
    return text;
}

}  // namespace

int NetInfoCommand::OnBoard(CommandContext& context, BoardAccess& board,
                            CliOutput::Fields& fields) {
    const auto read = board.Run<ReadNetworkInfoOperation>();
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const NetworkInfoResult& result = read->result();
    if (result.outcome.code == NetworkInfoOutcome::Read) {
        NetworkInfo shown = result.info;
        // The report for people marks what came damaged.
        const std::string unreadable = context.Text(kTextUnreadable);
        const std::pair<const char*, std::string*> texts[] = {
            {"ipv4.address", &shown.ipv4Address},  {"ipv4.netmask", &shown.subnetMask},
            {"ipv4.gateway", &shown.gateway},      {"ipv4.dns", &shown.nameServer},
            {"ipv6.link_local", &shown.linkLocal}, {"ipv6.global", &shown.global},
            {"ipv6.gateway", &shown.gateway6},     {"conflict.mac", &shown.conflictMac},
            {"wlan.signal", &shown.signal}};
        for (const auto& [name, text] : texts) {
            if (std::find(result.unreadable.begin(), result.unreadable.end(), name) !=
                result.unreadable.end()) {
                *text = unreadable;
            }
        }
        const NetworkReports reports =
            BuildNetworkReports(shown, context.strings, context.options.language);
        if (context.output.json()) {
            const QJsonObject network = NetworkObject(result, reports);
            for (auto it = network.begin(); it != network.end(); ++it) {
                fields.push_back({it.key().toStdString(), it.value()});
            }
        } else {
            context.output.Document(ForPeople(reports.network) + "\n\n" +
                                    ForPeople(reports.wireless) + "\n\n" +
                                    ForPeople(reports.tables) + "\n");
        }
    }
    return Finish(context, StatusOf(result), OutcomeName(result.outcome.code), fields,
                  DescribeNetworkInfo(result), read.get());
}

}  // namespace varnow::cli
