// "Product/Firmware information" and "Network information" against the simulated board, on
// the virtual clock: what is asked, what is kept, how each way of failing ends.
#include <gtest/gtest.h>

#include "EnvironmentImage.h"
#include "app/OutcomeText.h"
#include "info/DurationText.h"
#include "info/NetworkInfoRead.h"
#include "info/ProductInfoRead.h"
#include "ops/InfoOperations.h"
#include "support/BoardFixture.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class InfoChainsTest : public BoardFixture {
protected:
    void SetUp() override {
        board.config().latencyMs = 1;
        ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
        host.Reset();
    }
    std::pair<ProductInfoOutcome, ProductInfo> Product() {
        lastProduct = Run<ReadProductInfoOperation>()->result();
        return {lastProduct.outcome.code, lastProduct.info};
    }
    std::pair<NetworkInfoOutcome, NetworkInfo> Network() {
        lastNetwork = Run<ReadNetworkInfoOperation>()->result();
        return {lastNetwork.outcome.code, lastNetwork.info};
    }
    // The queries written since `from`, without "pid " and the CR.
    std::vector<std::string> QueriesSince(std::size_t from) const {
        std::vector<std::string> queries;
        const std::string sent = written().substr(from);
        for (std::size_t at = 0; (at = sent.find("pid ", at)) != std::string::npos;) {
            const std::size_t end = sent.find('\r', at);
            queries.push_back(sent.substr(at + 4, end - at - 4));
            at = end;
        }
        return queries;
    }
    NetworkReports Reports(const NetworkInfo& info) const {
        return BuildNetworkReports(info, strings, Language::English);
    }

    ProductInfoResult lastProduct;
    NetworkInfoResult lastNetwork;
};

TEST_F(InfoChainsTest, ProductInformationCollectsWhatTheBoardTellsAboutItself) {
    board.config().network.mac = "first line\n00:1A:2B:3C:4D:5E";
    loop.RunFor(86'400'000);  // the board has been up for a day
    const auto [outcome, info] = Product();
    ASSERT_EQ(outcome, ProductInfoOutcome::Read);
    EXPECT_EQ(info.mac, "00:1A:2B:3C:4D:5E") << "the last line wins";
    const std::vector<std::string> expected{
        "Product name : VARNO-104K demo board",
        "KOFS name : factory image",
        "System uptime : 1days / 00:00:00",
        "MAC : 00:1A:2B:3C:4D:5E",
        "Firmware name : VARNO-FW 3.2.1",
        "Firmware version : 2.1.5",
        "Firmware size : 104K",
    };
    std::vector<std::string> lines = ProductInfoLines(info, strings, Language::English);
    ASSERT_EQ(lines.size(), expected.size()) << ::testing::PrintToString(lines);
    lines[2] = lines[2].substr(0, lines[2].find('/') + 2) + "00:00:00";  // a day and a little
    EXPECT_EQ(lines, expected);
}

TEST_F(InfoChainsTest, TheDialogShowsEveryCaptionWithAValueWhereTheBoardGaveOne) {
    struct Case {
        const char* name;
        ProductInfo info;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"an FIB id of 28 characters: the size, no version",
         {.fibId = std::string("000000000010") + std::string(16, '0'), .uptimeReply = "99"},
         {"Product name : ", "KOFS name : ", "System uptime : 0days / 00:00:00",
          "MAC : ", "Firmware name : ", "Firmware version : ", "Firmware size : 64K"}},
        {"an FIB id of 12 characters: neither",
         {.fibId = "000000000010", .kofsName = "img"},
         {"Product name : ", "KOFS name : img", "System uptime : ", "MAC : ", "Firmware name : ",
          "Firmware version : ", "Firmware size : "}},
        {"an uptime of a day",
         {.uptimeReply = "8640000"},
         {"Product name : ", "KOFS name : ", "System uptime : 1days / 00:00:00",
          "MAC : ", "Firmware name : ", "Firmware version : ", "Firmware size : "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ProductInfoLines(c.info, strings, Language::English), c.lines);
    }
}

TEST_F(InfoChainsTest, ATailWithoutAFirmwareNameLeavesItEmptyAndTheChainGoesOn) {
    board.config().firmwareName.clear();
    const auto [outcome, info] = Product();
    EXPECT_EQ(outcome, ProductInfoOutcome::Read);
    EXPECT_EQ(info.firmwareName, "");
}

TEST_F(InfoChainsTest, AProductStepThatDoesNotEndStopsTheChainWithItsMessage) {
    struct Case {
        const char* command;
        ProductInfoOutcome outcome;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {"get id fib mac", ProductInfoOutcome::TimedOut, {kMsgGetConfigurationFailed}},
        {"get sys uptime", ProductInfoOutcome::TimedOut, {kMsgGetConfigurationFailed}},
        {"send tail", ProductInfoOutcome::TimedOut, {kMsgGetConfigurationFailed}},
        {"send envs", ProductInfoOutcome::TimedOut, {kMsgGetConfigurationFailed}},
        {"send kofs head", ProductInfoOutcome::HeadStalled, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        board.faults() = {};
        if (!port.IsOpen()) {
            ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
        }
        host.Reset();
        board.faults().ignoredCommands = {c.command};
        EXPECT_EQ(Product().first, c.outcome);
        EXPECT_EQ(host.messageIds(), c.messages);
        Settle();
    }
}

TEST_F(InfoChainsTest, NetworkInformationAsksEveryValueAndBothTables) {
    const std::size_t before = written().size();
    const auto [outcome, info] = Network();
    ASSERT_EQ(outcome, NetworkInfoOutcome::Read);
    const std::vector<std::string> expected{
        "net0 ioctl get ipaddr",    "net0 ioctl get netmask",   "net0 ioctl get gwaddr",
        "net0 ioctl get nsaddr",    "net0 ioctl get dad count", "net0 ioctl get ipaddr6 0",
        "net0 ioctl get ipaddr6 1", "net0 ioctl get gwaddr6",   "net0 ioctl get prefix6",
        "net1 ioctl get mode",      "net1 ioctl get ssid",      "net1 ioctl get rssi",
        "net1 ioctl get rsna",      "net1 ioctl get akm",       "net1 ioctl get cipher",
        "net0 ioctl get arp 0",     "net0 ioctl get arp 1",     "net0 ioctl get arp 2",
        "net0 ioctl get ndc 0",     "net0 ioctl get ndc 1"};
    EXPECT_EQ(QueriesSince(before), expected) << "no conflict: its address and time are not asked";
    const NetworkReports reports = Reports(info);
    EXPECT_EQ(reports.network,
              "IPv4 network information\r\n"
              "  Local IP address - 192.168.0.100\r\n"
              "  Subnet mask - 255.255.255.0\r\n"
              "  Gateway - 192.168.0.1\r\n"
              "  Name Server - 8.8.8.8\r\n\r\n"
              "IPv6 network information\r\n"
              "  Link Local - fe80::21a:2bff:fe3c:4d5e\r\n"
              "  Global - 2001:db8::64 / 64\r\n"
              "  Gateway - fe80::1");
    EXPECT_EQ(reports.wireless,
              "  Mode: Infrastructure\r\n  SSID : varno-lab\r\n  Signal strength : -55dbm\r\n"
              "  Security : WPA2\r\n  Certification : PSK\r\n  Encryption methods : CCMP");
    EXPECT_EQ(
        reports.tables,
        "IPv4 ARP cache table\r\n  192.168.0.1     00:11:22:33:44:01  net0\r\n"
        "  192.168.0.20    00:11:22:33:44:14  net0\r\n\r\n"
        "IPv6 neighbor discovery cache table\r\n  fe80::1         00:11:22:33:44:01  REACHABLE");
}

TEST_F(InfoChainsTest, TheReportsFollowWhatTheBoardSays) {
    board.config().network.conflicts = 2;
    board.config().network.global.clear();
    board.SetEnvironment(sim::environment::FactoryBlock({.wlanRecords = false}));
    const auto [outcome, info] = Network();
    ASSERT_EQ(outcome, NetworkInfoOutcome::Read);
    const NetworkReports reports = Reports(info);
    EXPECT_NE(reports.network.find("  Global - \r\n  Gateway"), std::string::npos)
        << "an empty global address: no prefix";
    EXPECT_TRUE(
        reports.network.ends_with("\r\n\r\nIP address conflict information\r\n"
                                  "  Number of conflict - 2\r\n"
                                  "  MAC address - 00:11:22:33:44:55\r\n"
                                  "  Time - 1days / 01:01:01"));
    EXPECT_EQ(reports.wireless, "  Inoperative wireless") << "mode answered by 410 OK alone";
    EXPECT_EQ(DurationText("%I64ddays / %02d:%02d:%02d", 90061), "1days / 01:01:01");
}

TEST_F(InfoChainsTest, ATableEndsAtAnEmptyLineAtOkAloneAndAt256Entries) {
    struct Case {
        const char* name;
        bool okAlone;
        bool endless;
        std::size_t arpEntries;
    };
    const Case cases[] = {
        {"an empty line past the end", false, false, 2},
        {"410 OK alone past the end", true, false, 2},
        {"a table that never ends", false, true, TableWalk::kMostEntries},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        board.config().network.tablesEndWithOkAlone = c.okAlone;
        board.faults().endlessTables = c.endless;
        const auto [outcome, info] = Network();
        EXPECT_EQ(outcome, NetworkInfoOutcome::Read);
        EXPECT_EQ(info.arp.size(), c.arpEntries);
    }
}

TEST_F(InfoChainsTest, A501AtAnyQueryEndsTheChainWithItsMessageSilenceWithout) {
    const char* queries[] = {"net0 ipaddr", "net0 dad count", "net0 ipaddr6 1", "net0 prefix6",
                             "net1 mode",   "net1 cipher",    "net0 arp 1",     "net0 ndc 0"};
    for (const char* query : queries) {
        SCOPED_TRACE(query);
        for (const bool silent : {false, true}) {
            board.faults() = {};
            (silent ? board.faults().silentQueries : board.faults().refusedQueries) = {query};
            host.Reset();
            const auto outcome = Network().first;
            EXPECT_EQ(outcome, silent ? NetworkInfoOutcome::TimedOut : NetworkInfoOutcome::Refused);
            EXPECT_EQ(host.messageIds(),
                      silent ? std::vector<int>{} : std::vector<int>{kMsgNetworkInfoFailed});
            Settle();
        }
    }
}

TEST_F(InfoChainsTest, AValueDamagedOnTheLineIsNamedUnreadableNeverShown) {
    struct Case {
        const char* command;  // whose first reply line is garbled
        bool network;
        std::string unreadable;
    };
    const Case cases[] = {
        {"get id fib mac", false, "mac"},
        {"get sys uptime", false, "uptime"},
        {"pid net1 ioctl get akm", true, "wlan.certification"},
        {"pid net0 ioctl get netmask", true, "ipv4.netmask"},
        {"pid net0 ioctl get ipaddr", true, "ipv4.address"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        board.faults().lineFault = sim::LineFault{c.command, 0, 0, sim::LineFault::Kind::Garble};
        if (std::string(c.command).ends_with("akm")) {
            board.faults().lineFault->kind = sim::LineFault::Kind::Drop;  // "None" was shown
        }
        std::vector<std::string> unreadable;
        std::optional<OutcomeText> failure;
        if (c.network) {
            EXPECT_EQ(Network().first, NetworkInfoOutcome::Read);
            unreadable = lastNetwork.unreadable;
            failure = DescribeNetworkInfo(lastNetwork);
        } else {
            EXPECT_EQ(Product().first, ProductInfoOutcome::Read);
            unreadable = lastProduct.unreadable;
            failure = DescribeProductInfo(lastProduct);
        }
        EXPECT_FALSE(board.faults().lineFault.has_value()) << "the fault happened";
        EXPECT_EQ(unreadable, std::vector<std::string>{c.unreadable});
        ASSERT_TRUE(failure.has_value()) << "a damaged value fails the command";
        EXPECT_EQ(failure->args, std::vector<std::string>{c.unreadable});
        Settle();
    }
}

}  // namespace
}  // namespace varnow
