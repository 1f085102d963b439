#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ops/CertificateOperations.h"
#include "ops/ConnectOperation.h"
#include "ops/InfoOperations.h"
#include "ops/PasswordOperation.h"
#include "ops/RebootOperation.h"
#include "ops/SettingsOperations.h"
#include "ops/WritePackageOperation.h"

namespace varnow {

// What the user reads when an operation did not succeed: what failed, whether the board may
// hold a change, and what to do next.
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
std::optional<OutcomeText> DescribeSettingsRead(const Outcome<SettingsReadOutcome>& outcome);
// `backupFile`: the file a restore came from.
std::optional<OutcomeText> DescribeSettings(const SettingsResult& result,
                                            const std::string& backupFile = {});
std::optional<OutcomeText> DescribeRestart(const RestartResult& result, const std::string& port);
std::optional<OutcomeText> DescribePassword(const PasswordResult& result, bool deleting);
std::optional<OutcomeText> DescribeIdentity(const IdentityResult& result);
std::optional<OutcomeText> DescribeCertificateRead(const CertificateReadResult& result);
std::optional<OutcomeText> DescribeProductInfo(const ProductInfoResult& result);
std::optional<OutcomeText> DescribeNetworkInfo(const NetworkInfoResult& result);

// The status line after an operation: what the board is, or what was written, or the failure.
// `port` is the port as people read it, `fibId` the board's.
OutcomeText ConnectStatus(const ConnectResult& result, const std::string& port,
                          const std::string& fibId);
OutcomeText WriteStatus(const WriteResult& result, const std::string& port,
                        const std::string& package);

// The last part of a port's path: "ttyACM0", a simulated board's name, "COM3".
std::string ShortPortName(const std::string& port);

}  // namespace varnow
