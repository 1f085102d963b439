// The rules of the Settings dialog's pages, without any window.
#include <gtest/gtest.h>

#include "crypto/Crc16.h"
#include "settings/AdminPassword.h"
#include "settings/Dot1xCredentials.h"
#include "settings/NetworkPage.h"
#include "settings/PasswordChange.h"
#include "settings/SettingsDialogRules.h"
#include "settings/WlanAdvanced.h"
#include "settings/WlanPage.h"
#include "settings/WpaPsk.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

SettingsStore StaticStore() {
    SettingsStore store;
    store.ipv4Address = {192, 168, 0, 100};
    store.ipv4SubnetMask = {255, 255, 255, 0};
    store.ipv4Gateway = {192, 168, 0, 1};
    store.ipv4DnsServer = {8, 8, 8, 8};
    return store;
}

TEST(NetworkPageTest, ADhcpBlockWithAFixedDnsOpensWithItsDnsFieldToEdit) {
    SettingsStore store = StaticStore();
    store.networkFlags = kFlagDhcp;  // DNS not automatic
    NetworkPage page;
    page.Fill(store);
    EXPECT_EQ(page.shown().dns, (Ipv4Address{8, 8, 8, 8}));
    EXPECT_FALSE(page.shown().address.has_value());
    page.ApplyTopologyLock(0);
    EXPECT_TRUE(page.enabled().dns) << "the DNS server is the user's to give";
    EXPECT_FALSE(page.enabled().address);
    page.SetDnsAuto(true, store);
    EXPECT_FALSE(page.enabled().dns);
    page.SetDnsAuto(false, store);
    EXPECT_TRUE(page.enabled().dns);
    page.Type(NetworkPage::kDns, {1, 1, 1, 1});
    ASSERT_TRUE(page.Collect(store).ok());
    EXPECT_EQ((Ipv4Address{store.ipv4DnsServer}), (Ipv4Address{1, 1, 1, 1}));
    EXPECT_EQ(store.networkFlags & (kFlagDhcp | kFlagAutoDns), kFlagDhcp);
}

TEST(NetworkPageTest, ASoftAccessPointLocksTheIpv4GroupUntilTheTopologyChanges) {
    NetworkPage page;
    page.Fill(StaticStore());
    page.SetWlanEnabled(true);
    page.ApplyTopologyLock(2);
    const auto& locked = page.enabled();
    EXPECT_FALSE(locked.address || locked.dns || locked.dnsAuto || locked.radios);
    page.ApplyTopologyLock(1);
    EXPECT_TRUE(page.enabled().address && page.enabled().radios);
    EXPECT_FALSE(page.enabled().dnsAuto) << "static: the DNS box stays off";
    page.SetWlanEnabled(false);
    page.ApplyTopologyLock(2);
    EXPECT_TRUE(page.enabled().address) << "a disabled wireless LAN locks nothing";
}

TEST(NetworkPageTest, SwitchingToStaticShowsTheStoredValuesAgain) {
    const SettingsStore store = StaticStore();
    NetworkPage page;
    page.Fill(store);
    page.SelectDhcp();
    EXPECT_TRUE(page.shown().dnsAuto && page.enabled().dnsAuto);
    page.Type(NetworkPage::kAddress, {9, 9, 9, 9});
    page.SelectStatic(store);
    EXPECT_EQ(page.shown().address, (Ipv4Address{192, 168, 0, 100}));
    EXPECT_FALSE(page.enabled().dnsAuto);
}

TEST(NetworkPageTest, ChecksTheShownIpv6ValuesAndAlwaysSwitchesIpv6Off) {
    struct Case {
        std::array<std::uint8_t, 16> address;
        std::uint16_t prefix;
        int message;
        int focus;
    };
    const std::array<std::uint8_t, 16> documentation{0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0,
                                                     0,    0,    0,    0,    0, 0, 0, 1};
    std::array<std::uint8_t, 16> multicast{0xFF, 0x02};
    multicast[15] = 1;
    std::array<std::uint8_t, 16> loopback{};
    loopback[15] = 1;
    const Case cases[] = {
        {documentation, 64, 0, 0},
        {documentation, 128, 0, 0},
        {documentation, 0, 0, 0},
        {documentation, 129, kMsgIncorrectIpv6, NetworkPage::kIpv6Prefix},
        {multicast, 64, kMsgIncorrectIpv6, NetworkPage::kIpv6Address},  // FF02::1
        {loopback, 64, kMsgIncorrectIpv6, NetworkPage::kIpv6Address},   // ::1
        {{}, 64, 0, 0},  // the unspecified address passes
    };
    for (const auto& c : cases) {
        SettingsStore store = StaticStore();
        store.networkFlags = kFlagIpv6Enabled | 0x800;
        store.ipv6Address = c.address;
        store.ipv6PrefixLength = c.prefix;
        NetworkPage page;
        page.Fill(store);
        const PageCheck check = page.Collect(store);
        EXPECT_EQ(check.messageId, c.message) << page.shown().ipv6Address << "/" << c.prefix;
        EXPECT_EQ(check.focus, c.focus);
        if (check.ok()) {
            EXPECT_EQ(store.networkFlags & kFlagIpv6Enabled, 0u);
            EXPECT_EQ(store.networkFlags & 0x1800, 0x800u) << "the other IPv6 bits stay";
        }
    }
}

WlanPage EnabledPage(const SettingsStore& store) {
    WlanPage page;
    page.Init(store);
    page.Fill(store);
    return page;
}

TEST(WlanPageTest, ChecksTheKeyLengthForTheTopology) {
    struct Case {
        bool enabled;
        int topology;
        std::string key;
        int message;
    };
    const Case cases[] = {
        {true, 1, "abcdefgh", 0},  // WPA passphrase of 8
        {true, 1, "abcd", kMsgKeyLength},
        {false, 1, "abcd", 0},               // a disabled wireless LAN takes any key
        {true, 1, std::string(64, 'k'), 0},  // the edit takes 63 characters; the rest is cut
        {true, 0, "abcdefgh", kMsgWrongWepKey},
        {true, 2, "abcdefgh", kMsgWrongWepKey},
        {true, 0, "abcde", 0},
        {true, 2, "abcdefghijklm", 0},
        {true, 2, "", 0},
    };
    for (const auto& c : cases) {
        SettingsStore store;
        store.networkFlags = c.enabled ? kFlagWlanEnabled : 0;
        store.wlanWord = static_cast<std::uint32_t>(c.topology);
        WlanPage page = EnabledPage(store);
        page.TypeSharedKey(c.key);
        const PageCheck check = page.Collect(store);
        EXPECT_EQ(check.messageId, c.message) << c.key << " in topology " << c.topology;
        if (!check.ok()) {
            EXPECT_EQ(check.focus, WlanPage::kSharedKey);
        }
    }
}

TEST(WlanPageTest, DerivesTheWepKeysFromTheKeysLength) {
    struct Case {
        std::string key;
        bool enabled;
        std::uint32_t keySize;
        Bytes key40;
    };
    const Case cases[] = {
        {"", true, 0, Bytes(5, 0)},
        {"abcd", false, 0, Bytes(5, 0)},
        {"ABCDE", true, 1, {'A', 'B', 'C', 'D', 'E'}},
        {"0102030405", true, 1, {1, 2, 3, 4, 5}},  // 6 to 10: hexadecimal
        {"01020304", true, 1, {1, 2, 3, 4, 0}},
        {"0102030405", false, 1, Bytes(5, 0)},  // hexadecimal only while enabled
        {"ABCDEFGHIJKLM", true, 2, {'A', 'B', 'C', 'D', 'E'}},
        {"000102030405060708090a0b0c", true, 2, {0, 1, 2, 3, 4}},  // above 13: hexadecimal
    };
    for (const auto& c : cases) {
        SettingsStore store;
        store.networkFlags = c.enabled ? kFlagWlanEnabled : 0;
        store.wlanWord = 1 | 0xC00;  // Infrastructure; bits 10 and 11 set
        store.wepKeys40.fill(0x77);
        WlanPage page = EnabledPage(store);
        page.TypeSharedKey(c.key);
        ASSERT_TRUE(page.Collect(store).ok()) << c.key;
        EXPECT_EQ((store.wlanWord >> 8) & 3, c.keySize) << c.key;
        EXPECT_EQ((store.wlanWord >> 10) & 3, 0u) << "always written as 0";
        EXPECT_EQ(Bytes(store.wepKeys40.begin(), store.wepKeys40.begin() + 5), c.key40) << c.key;
        EXPECT_EQ(store.wepKeys40[5], 0x77) << "the other keys are kept";
    }
}

TEST(WlanPageTest, StoresThePassphraseAndItsPreSharedKey) {
    SettingsStore store;
    store.networkFlags = kFlagWlanEnabled;
    store.wlanWord = 1;
    WlanPage page = EnabledPage(store);
    page.TypeSsid("varno-lab");
    page.TypeSharedKey("correct horse battery");
    page.SelectChannel(6);
    page.SelectDot1x(3);
    ASSERT_TRUE(page.Collect(store).ok());
    EXPECT_EQ(store.preSharedKey,
              DerivePsk(AsBytes("correct horse battery"), AsBytes("varno-lab")));
    EXPECT_EQ((store.wlanWord >> 4) & 0xF, 6u);
    EXPECT_EQ((store.wlanWord >> 16) & 7, 5u) << "PEAP";
    EXPECT_EQ(store.ssid[9], 0) << "zero-padded";
}

TEST(WlanPageTest, ASwitchToEnableShowsTheStoredValuesAgain) {
    SettingsStore store;
    store.wlanWord = 2 | (3 << 4);
    const std::string ssid = "stored";
    std::copy(ssid.begin(), ssid.end(), store.ssid.begin());
    WlanPage page = EnabledPage(store);
    EXPECT_FALSE(page.enabled().ssid) << "disabled in the block: every control off";
    page.TypeSsid("typed");
    page.SetEnabled(true, store);
    EXPECT_EQ(page.shown().ssid, "stored");
    EXPECT_TRUE(page.enabled().channel) << "Soft AP picks a channel";
    page.SelectTopology(1);
    EXPECT_FALSE(page.enabled().channel);
    EXPECT_EQ(page.topology(), 1);
}

TEST(WlanPageTest, TheIdPasswordButtonFollowsThe8021xMethod) {
    WlanPage page;
    page.SelectDot1x(0);
    EXPECT_FALSE(page.enabled().idPassword);
    EXPECT_EQ(page.shown().idPasswordCaption, kTextIdPasswordButton);
    page.SelectDot1x(1);
    EXPECT_TRUE(page.enabled().idPassword);
    EXPECT_EQ(page.shown().idPasswordCaption, kTextIdButton) << "EAP-TLS: the ID only";
    page.SelectDot1x(2);
    EXPECT_EQ(page.shown().idPasswordCaption, kTextIdPasswordButton);
}

TEST(WlanAdvancedTest, ThePhyModeDecidesWhichOptionsMayChange) {
    struct Case {
        int topology;
        int phy;
        bool preamble, slot, cts;
    };
    const Case cases[] = {
        {1, 1, false, false, false}, {1, 2, true, false, false}, {1, 3, true, true, true},
        {0, 3, true, false, true},   {2, 3, true, false, true},  {1, 0, false, false, false},
    };
    for (const auto& c : cases) {
        WlanAdvanced advanced(c.topology, static_cast<std::uint32_t>(c.phy) << 25);
        const auto& enabled = advanced.enabled();
        EXPECT_EQ(enabled.shortPreamble, c.preamble) << c.topology << "/" << c.phy;
        EXPECT_EQ(enabled.shortSlot, c.slot) << c.topology << "/" << c.phy;
        EXPECT_EQ(enabled.ctsProtection, c.cts) << c.topology << "/" << c.phy;
    }
}

TEST(WlanAdvancedTest, DisabledOptionsKeepTheirValuesAndTheRestOfTheWordStays) {
    const std::uint32_t word = 0x00ABCDEF & ~0x0E000000u;
    WlanAdvanced advanced(0, word | kWlanShortSlot | kWlanBackgroundScan);
    advanced.SelectPhy(2);
    EXPECT_FALSE(advanced.enabled().shortSlot);
    const std::uint32_t applied = advanced.Apply(word);
    EXPECT_EQ((applied >> 25) & 7, 2u);
    EXPECT_NE(applied & kWlanShortSlot, 0u) << "disabled, but kept";
    EXPECT_NE(applied & kWlanBackgroundScan, 0u);
    EXPECT_EQ(applied & ~(kWlanPhyMask | kWlanShortSlot | kWlanBackgroundScan), word & ~0x2000u);
}

TEST(Dot1xCredentialsTest, TheTypedIdReplacesTheStoredOneAndIsPaddedWithZeros) {
    EnvironmentData data;
    data.dot1xId = Bytes{'l', 'o', 'n', 'g', '-', 's', 't', 'o', 'r', 'e', 'd', 0};
    data.dot1xPassword = Bytes(8, 'p');
    auto credentials = Dot1xCredentials::Open(data, 2);
    ASSERT_TRUE(credentials.has_value());
    EXPECT_EQ(credentials->id, "long-stored");
    EXPECT_TRUE(credentials->withPassword);
    credentials->id = "me";
    credentials->password = "a password longer than its area";
    credentials->Accept(data);
    EXPECT_EQ(*data.dot1xId, (Bytes{'m', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(*data.dot1xPassword, (Bytes{'a', ' ', 'p', 'a', 's', 's', 'w', 'o'}));
    EXPECT_FALSE(Dot1xCredentials::Open(data, 1)->withPassword) << "EAP-TLS: the ID only";
    data.dot1xPassword.reset();
    EXPECT_FALSE(Dot1xCredentials::Open(data, 2).has_value()) << "ENV Error";
}

TEST(PasswordChangeTest, TheCommandCarriesTheRecordAndNeverThePassword) {
    const std::string mcu = "0123456789abcdef0123456789abcdef01234567";
    const std::string command = PasswordChange::Command("new secret", mcu);
    EXPECT_EQ(command.size(), 91u);
    EXPECT_TRUE(command.starts_with("reboot psk 10 0100"));
    EXPECT_TRUE(command.ends_with("\r"));
    EXPECT_EQ(command.find("new secret"), std::string::npos);
    for (char c : command.substr(14, 76)) {
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'a' && c <= 'f')) << c;
    }
    Bytes deletion(36, 0);
    const std::uint16_t crc = Crc16(deletion);
    char tail[5];
    std::snprintf(tail, sizeof tail, "%02x%02x", crc & 0xFF, crc >> 8);
    EXPECT_EQ(PasswordChange::Command(std::nullopt, mcu),
              "reboot psk 10 " + std::string(72, '0') + tail + "\r");
}

TEST(PasswordChangeTest, TheDialogsRules) {
    EXPECT_EQ(PasswordChange::Check("short", "short"), kMsgPasswordTooShort);
    EXPECT_EQ(PasswordChange::Check("12345678", "12345679"), kMsgPasswordMismatch);
    EXPECT_EQ(PasswordChange::Check("12345678", "12345678"), 0) << "8 characters are enough";
    EXPECT_EQ(PasswordChange::Check("비밀번호", "비밀번호"), kMsgPasswordTooShort)
        << "characters are counted, not bytes";
    EXPECT_TRUE(PasswordChange::WarnsFirst(false)) << "warning 169 without a login only";
    EXPECT_FALSE(PasswordChange::WarnsFirst(true));
    EXPECT_TRUE(PasswordChange::OffersDelete(true));
    EXPECT_FALSE(PasswordChange::OffersDelete(false));
}

TEST(SettingsDialogRulesTest, CertificatesAreRefusedOnlyAfterAnF1spFibIdThatGoesOn) {
    const std::pair<const char*, bool> cases[] = {
        {"66317350", true},     // exactly the four bytes
        {"663173500", true},    // and half a byte
        {"6631735001", false},  // and one more byte
        {"66317350011a0000", false},
        {"66347350001a0000", true},  // "f4sP"
        {"", true},
    };
    for (const auto& [fibId, allowed] : cases) {
        EXPECT_EQ(SettingsDialogRules::CertificatesAllowed(fibId), allowed) << fibId;
    }
}

TEST(SettingsDialogRulesTest, TheTitleNamesTheProductUpToItsFirstZeroAndCutsALongName) {
    const Bytes name{'V', 'A', 'R', 'N', 'O', 0, 'x'};
    EXPECT_EQ(SettingsDialogRules::Title("Settings", name), "Settings - VARNO");
    const Bytes longName(2000, 'n');
    EXPECT_EQ(SettingsDialogRules::Title("Settings", longName).size(),
              std::string("Settings - ").size() + 1023);
}

}  // namespace
}  // namespace varnow
