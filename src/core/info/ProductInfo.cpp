#include "info/ProductInfo.h"

#include "info/DurationText.h"
#include "ui/MessageIds.h"

namespace varnow {

std::int64_t ProductInfo::uptimeSeconds() const {
    return LeadingDecimal(uptimeReply) / 100;
}

std::vector<std::string> ProductInfoLines(const ProductInfo& info, const StringTable& strings,
                                          Language language) {
    auto label = [&](int id) { return strings.Text(id, language); };
    std::string uptime;
    if (!info.uptimeReply.empty()) {
        uptime = DurationText(label(kTextUptimePattern), info.uptimeSeconds());
    }
    std::string version;
    std::string size;
    const FibInfo fib = info.fib();
    if (fib.version) {
        version = std::to_string(fib.version->major) + "." + std::to_string(fib.version->minor) +
                  "." + std::to_string(fib.version->patch);
    }
    if (fib.sizeKib) {
        size = std::to_string(*fib.sizeKib) + "K";
    }
    std::vector<std::string> lines{
        label(kTextProductNameLabel) + info.productName,
        label(kTextKofsNameLabel) + info.kofsName,
        label(kTextUptimeLabel) + uptime,
        label(kTextMacLabel) + info.mac,
        label(kTextFirmwareNameLabel) + info.firmwareName,
        label(kTextFirmwareVersionLabel) + version,
        label(kTextFirmwareSizeLabel) + size,
    };
    return lines;
}

}  // namespace varnow
