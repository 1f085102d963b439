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
    std::vector<std::string> lines{label(kTextProductNameLabel) + info.productName};
    if (!info.kofsName.empty()) {
        lines.push_back(label(kTextKofsNameLabel) + info.kofsName);
    }
    if (!info.uptimeReply.empty()) {
        lines.push_back(label(kTextUptimeLabel) +
                        DurationText(label(kTextUptimePattern), info.uptimeSeconds()));
    }
    lines.push_back(label(kTextMacLabel) + info.mac);
    lines.push_back(label(kTextFirmwareNameLabel) + info.firmwareName);
    const FibInfo fib = info.fib();
    if (fib.version) {
        lines.push_back(label(kTextFirmwareVersionLabel) + std::to_string(fib.version->major) +
                        "." + std::to_string(fib.version->minor) + "." +
                        std::to_string(fib.version->patch));
    }
    if (fib.sizeKib) {
        lines.push_back(label(kTextFirmwareSizeLabel) + std::to_string(*fib.sizeKib) + "K");
    }
    return lines;
}

}  // namespace varnow
