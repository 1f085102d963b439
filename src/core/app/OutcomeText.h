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

// The status line after an operation: what the board is, or what was written, or the failure.
// `port` is the port as people read it, `fibId` the board's.
OutcomeText ConnectStatus(const ConnectResult& result, const std::string& port,
                          const std::string& fibId);
OutcomeText WriteStatus(const WriteResult& result, const std::string& port,
                        const std::string& package, const std::string& imageName,
                        const std::string& imageHash);
OutcomeText FirmwareStatus(const FirmwareResult& result, const std::string& port,
                           const std::string& package);

// The last part of a port's path: "ttyACM0", a simulated board's name, "COM3".
std::string ShortPortName(const std::string& port);

}  // namespace varnow
