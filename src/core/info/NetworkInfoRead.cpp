#include "info/NetworkInfoRead.h"

#include <utility>

#include "info/DurationText.h"
#include "link/CommandStates.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

// One value of the chain: its query, state, reply timer and where its answer goes.
struct Step {
    const char* query;
    int state;
    int timer;
    void (*store)(NetworkInfo&, const std::string&);
};

const Step kSteps[] = {
    {"net0 ioctl get ipaddr", kStateNetIpv4Address, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.ipv4Address = v; }},
    {"net0 ioctl get netmask", kStateNetSubnetMask, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.subnetMask = v; }},
    {"net0 ioctl get gwaddr", kStateNetGateway, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.gateway = v; }},
    {"net0 ioctl get nsaddr", kStateNetNameServer, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.nameServer = v; }},
    {"net0 ioctl get dad count", kStateNetConflictCount, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) {
         i.conflictCountReply = v;
         i.conflictCount = static_cast<std::int32_t>(LeadingDecimal(v));
     }},
    {"net0 ioctl get dad addr", kStateNetConflictMac, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.conflictMac = v; }},
    {"net0 ioctl get dad tick", kStateNetConflictTick, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) {
         i.conflictSecondsReply = v;
         i.conflictSeconds = LeadingDecimal(v);
     }},
    {"net0 ioctl get ipaddr6 0", kStateNetLinkLocal, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.linkLocal = v; }},
    {"net0 ioctl get ipaddr6 1", kStateNetGlobal, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.global = v; }},
    {"net0 ioctl get gwaddr6", kStateNetGateway6, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.gateway6 = v; }},
    {"net0 ioctl get prefix6", kStateNetPrefix6, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) {
         i.prefix6Reply = v;
         i.prefix6 = static_cast<std::int32_t>(LeadingDecimal(v));
     }},
    {"net1 ioctl get mode", kStateWlanMode, kTimerReply1s,
     [](NetworkInfo& i, const std::string& v) { i.mode = v; }},
    {"net1 ioctl get ssid", kStateWlanSsid, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.ssid = v; }},
    {"net1 ioctl get rssi", kStateWlanSignal, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.signal = v; }},
    {"net1 ioctl get rsna", kStateWlanSecurity, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.security = v; }},
    {"net1 ioctl get akm", kStateWlanCertification, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.certification = v; }},
    {"net1 ioctl get cipher", kStateWlanEncryption, kTimerQuery1s,
     [](NetworkInfo& i, const std::string& v) { i.encryption = v; }},
};
constexpr std::size_t kConflictCount = 4;
constexpr std::size_t kLinkLocal = 7;

}  // namespace

NetworkInfoRead::NetworkInfoRead(BoardLink& link, Messenger& messenger)
    : m_link(link), m_messenger(messenger), m_query(link), m_walk(link) {}

void NetworkInfoRead::Start(Done done) {
    m_done = std::move(done);
    // Every value is cleared, the wireless ones too: a value the board does not give this
    // time must not show what an earlier board said.
    m_info = NetworkInfo{};
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(NetworkInfoOutcome::NoBoard);
    }
    Query(0);
}

void NetworkInfoRead::Query(std::size_t step) {
    if (step == std::size(kSteps)) {
        return WalkTables();
    }
    const Step& current = kSteps[step];
    m_query.Start(std::string("pid ") + current.query + "\r", current.state, {current.timer, 1000},
                  true, [this, step](const auto& outcome, const std::string& value) {
                      if (!Answered(outcome)) {
                          return;
                      }
                      kSteps[step].store(m_info, value);
                      // Where the board saw no conflict, its address and time are not asked.
                      const bool conflicts = m_info.conflictCount > 0;
                      Query(step == kConflictCount && !conflicts ? kLinkLocal : step + 1);
                  });
}

void NetworkInfoRead::WalkTables() {
    m_walk.Start("arp", kStateArpTable, [this](const auto& outcome, std::vector<std::string> arp) {
        if (!Answered(outcome)) {
            return;
        }
        m_info.arp = std::move(arp);
        m_walk.Start("ndc", kStateNeighbourTable,
                     [this](const auto& ended, std::vector<std::string> neighbours) {
                         if (Answered(ended)) {
                             m_info.neighbours = std::move(neighbours);
                             Finish(NetworkInfoOutcome::Read);
                         }
                     });
    });
}

bool NetworkInfoRead::Answered(const Outcome<QueryOutcome>& outcome) {
    switch (outcome.code) {
        case QueryOutcome::Answered:
            return true;
        case QueryOutcome::Refused:
            m_messenger.Show(kMsgNetworkInfoFailed, MessageStyle::Warning);
            Finish(NetworkInfoOutcome::Refused, outcome.command);
            return false;
        case QueryOutcome::TimedOut:
            Finish(NetworkInfoOutcome::TimedOut, outcome.command);
            return false;
        case QueryOutcome::PortLost:
            break;
    }
    Finish(NetworkInfoOutcome::PortLost);
    return false;
}

void NetworkInfoRead::Finish(NetworkInfoOutcome outcome, std::string command) {
    if (Done done = std::exchange(m_done, nullptr)) {
        Outcome<NetworkInfoOutcome> result{outcome};
        result.command = std::move(command);
        done(result, m_info);
    }
}

}  // namespace varnow
