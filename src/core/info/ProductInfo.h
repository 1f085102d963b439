#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "info/FibId.h"
#include "ui/StringTable.h"

namespace varnow {

// What a board tells about itself for the "Product/Firmware information" dialog.
struct ProductInfo {
    std::string fibId;         // from the connect
    std::string mac;           // the last line before "410 OK" to "get id fib mac"
    std::string uptimeReply;   // the reply to "get sys uptime": hundredths of a second
    std::string firmwareName;  // the "A" record of the firmware's tail block
    std::string productName;   // of the settings block, as UTF-8
    std::string kofsName;      // the "a" record of the image head

    std::int64_t uptimeSeconds() const;
    FibInfo fib() const { return DecodeFibId(fibId); }
};

// The dialog's seven lines, top to bottom: each caption followed by its value, or alone when the
// board gave none (no KOFS name or uptime; an FIB id too short for the version or the size).
std::vector<std::string> ProductInfoLines(const ProductInfo& info, const StringTable& strings,
                                          Language language);

}  // namespace varnow
