#include "InfoCommand.h"

#include <QJsonArray>
#include <algorithm>

#include "app/OutcomeNames.h"
#include "info/DurationText.h"
#include "ops/InfoOperations.h"

namespace varnow::cli {
namespace {

CliOutput::Fields ProductFields(CommandContext& context, const ProductInfoResult& result) {
    const ProductInfo& info = result.info;
    const auto unreadable = [&](const char* name) {
        return std::find(result.unreadable.begin(), result.unreadable.end(), name) !=
               result.unreadable.end();
    };
    // A value that came damaged is not passed on as if the board had said it.
    const QJsonValue missing =
        context.output.json() ? QJsonValue(QJsonValue::Null)
                              : QJsonValue(QString::fromStdString(context.Text(kTextUnreadable)));
    const FibInfo fib = info.fib();
    const std::string pattern = context.Text(kTextUptimePattern);
    CliOutput::Fields fields{
        {"product_name", Json(info.productName)},
        {"kofs_name", Json(info.kofsName)},
        {"uptime",
         unreadable("uptime") ? missing : Json(DurationText(pattern, info.uptimeSeconds()))},
        {"uptime_seconds",
         unreadable("uptime") ? missing : QJsonValue(static_cast<double>(info.uptimeSeconds()))},
        {"mac", unreadable("mac") ? missing : Json(info.mac)},
        {"firmware_name", Json(info.firmwareName)},
        {"fib_id", unreadable("fib_id") ? missing : Json(info.fibId)},
    };
    if (fib.version && !unreadable("fib_id")) {
        const FirmwareVersion& v = *fib.version;
        // Three numbers for scripts; one text for people.
        fields.push_back(
            {"version", context.output.json()
                            ? QJsonValue(QJsonArray{v.major, v.minor, v.patch})
                            : Json(std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                                   std::to_string(v.patch))});
    }
    if (fib.sizeKib && !unreadable("fib_id")) {
        fields.push_back({"size_kib", *fib.sizeKib});
    }
    return fields;
}

}  // namespace

int InfoCommand::OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) {
    const auto read = board.Run<ReadProductInfoOperation>();
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const ProductInfoResult& result = read->result();
    if (result.outcome.code == ProductInfoOutcome::Read) {
        const CliOutput::Fields product = ProductFields(context, result);
        fields.insert(fields.end(), product.begin(), product.end());
    }
    return Finish(context, StatusOf(result), OutcomeName(result.outcome.code), fields,
                  DescribeProductInfo(result), read.get());
}

}  // namespace varnow::cli
