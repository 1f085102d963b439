#include "settings/SettingsDialogRules.h"

#include <algorithm>

#include "common/BoardText.h"
#include "common/Utf8Text.h"
#include "settings/AddressText.h"

namespace varnow {
namespace {
constexpr std::size_t kLongestTitleName = 1023;
constexpr std::uint8_t kF1sP[] = {0x66, 0x31, 0x73, 0x50};
}  // namespace

std::string SettingsDialogRules::Title(const std::string& caption, ByteView productName) {
    return caption + " - " +
           Utf8Prefix(BoardTextToUtf8(UpToFirstNul(productName)), kLongestTitleName);
}

bool SettingsDialogRules::CertificatesAllowed(const std::string& fibId) {
    const Bytes bytes = HexPairsToBytes(fibId);
    return bytes.size() <= std::size(kF1sP) ||
           !std::equal(std::begin(kF1sP), std::end(kF1sP), bytes.begin());
}

SettingsDialogRules::FollowUp SettingsDialogRules::AfterWrite(SettingsWriteOutcome outcome) {
    switch (outcome) {
        case SettingsWriteOutcome::Written:
            return FollowUp::AskReboot;
        case SettingsWriteOutcome::BackupFailed:
            return FollowUp::NotSaved;
        case SettingsWriteOutcome::IspMode:
        case SettingsWriteOutcome::NoBoard:
            return FollowUp::Nothing;
        default:
            return FollowUp::Failed;
    }
}

}  // namespace varnow
