#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/WriteResult.h"
#include "connect/ConnectOutcome.h"

namespace varnow {

// What the user reads when an operation did not succeed: what failed and what to do next.
struct OutcomeText {
    int stringId = 0;
    std::vector<std::string> args;
};

// Nullopt for a success. `port` and `package` fill the texts that name them.
std::optional<OutcomeText> DescribeConnect(const ConnectResult& result, const std::string& port);
std::optional<OutcomeText> DescribeUpload(const UploadResult& result, const std::string& package);
std::optional<OutcomeText> DescribeFirmware(const FirmwareResult& result, const std::string& port,
                                            const std::string& package);
std::optional<OutcomeText> DescribeWrite(const WriteResult& result, const std::string& port,
                                         const std::string& package);

}  // namespace varnow
