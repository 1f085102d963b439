// Settings by name, as the command line and a station's plan give them: a value the board
// could not hold as given is refused with the reason, never cut or bent.
#include <gtest/gtest.h>

#include "EnvironmentImage.h"
#include "settings/EnvironmentBlock.h"
#include "settings/SettingsEditor.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

EnvironmentData FactoryData() {
    EnvironmentData data;
    EXPECT_TRUE(DecodeEnvironmentBytes(sim::environment::FactoryBlock({}), data));
    return data;
}

std::string Repeat(const std::string& text, std::size_t times) {
    std::string repeated;
    for (std::size_t i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

TEST(SettingsEditorTest, RefusesWhatTheBoardCouldNotHoldAsGiven) {
    const std::string e = "\xC3\xA9";  // é: one character, two bytes
    struct Case {
        const char* what;
        SettingPairs pairs;
        int refusal;  // 0: taken
        std::vector<std::string> args = {};
    };
    const Case cases[] = {
        {"an SSID of 32 bytes", {{"wlan.ssid", std::string(32, 's')}}, 0},
        {"an SSID of 33 bytes", {{"wlan.ssid", std::string(33, 's')}}, kMsgSsidTooLong,
         {"32", "33", "33"}},
        {"32 characters of two bytes", {{"wlan.ssid", Repeat(e, 32)}}, kMsgSsidTooLong,
         {"32", "32", "64"}},
        {"a key of 63 two-byte characters", {{"wlan.key", Repeat(e, 63)}}, kMsgKeyTooLong},
        {"a new line in the SSID", {{"wlan.ssid", "lab\nnet"}}, kMsgSsidControl},
        {"a tab in the key", {{"wlan.key", "abc\tdefgh"}}, kMsgKeyControl},
        {"0x01 in the 802.1X ID",
         {{"wlan.8021x", "peap"}, {"wlan.identity", std::string("me\x01")}},
         kMsgDot1xIdControl},
        {"a mask with a gap", {{"ipv4.netmask", "255.0.255.0"}}, kMsgNetmaskGaps},
        {"a contiguous mask", {{"ipv4.netmask", "255.255.254.0"}}, 0},
        {"0.0.0.0 as the address", {{"ipv4.address", "0.0.0.0"}}, kMsgAddressUnusable},
        {"broadcast as the address", {{"ipv4.address", "255.255.255.255"}}, kMsgAddressUnusable},
        {"multicast as the address", {{"ipv4.address", "224.0.0.1"}}, kMsgAddressUnusable},
        {"multicast as the gateway", {{"ipv4.gateway", "239.1.2.3"}}, kMsgGatewayUnusable},
        {"an address of one host", {{"ipv4.address", "10.9.8.7"}}, 0},
        {"a key given twice",
         {{"wlan.ssid", "one"}, {"wlan.ssid", "two"}},
         kCliSettingTwice,
         {"wlan.ssid"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<SettingRefusal> refusal = SettingsEditor::CheckPairs(c.pairs);
        SettingsEditor editor(FactoryData());
        if (!refusal) {
            refusal = editor.Apply(c.pairs);
        }
        if (!refusal) {
            refusal = editor.Collect();
        }
        EXPECT_EQ(refusal ? refusal->stringId : 0, c.refusal);
        if (refusal && !c.args.empty()) {
            EXPECT_EQ(refusal->args, c.args);
        }
    }
}

TEST(SettingsEditorTest, AChangedSecretIsListedByNameWithoutItsValue) {
    const EnvironmentData before = FactoryData();
    SettingsEditor editor(before);
    ASSERT_FALSE(editor.Apply({{"wlan.key", "same-length-1"}}));
    ASSERT_FALSE(editor.Collect());
    SettingsEditor again(editor.data());
    ASSERT_FALSE(again.Apply({{"wlan.key", "same-length-2"}}));
    ASSERT_FALSE(again.Collect());
    const auto changes = SettingsEditor::Changes(editor.data(), again.data());
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].key, "wlan.key");
    EXPECT_FALSE(changes[0].from.has_value());
    EXPECT_FALSE(changes[0].to.has_value());
}

}  // namespace
}  // namespace varnow
