#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "NetworkQueries.h"

namespace varnow::sim {

// Who the simulated board is and how it behaves.
struct BoardConfig {
    // Data lines of "get id fib": an "f4sP" board of 104 KiB firmware, version 2.1.5.
    std::vector<std::string> fibLines{"66347350001a00000000000021050000"};
    std::string mcuId = "0123456789abcdef0123456789abcdef01234567";
    bool mcuIdSupported = true;                   // false: "501 " to "get id mcu"
    std::optional<std::string> pdbLine = "0100";  // nullopt: "501 " (firmware too old)
    std::optional<std::string> password;          // the password it starts with (a login)
    bool ispMode = false;                         // starts in its boot loader
    std::uint64_t latencyMs = 2;                  // from a command's CR to its reply
    std::uint32_t seed = 1;                       // login challenges
    std::uint8_t productId = 1;                   // of the image the board starts with
    bool startsWithImage = true;                  // false: an erased file system
    std::string firmwareName = "VARNO-FW 3.2.1";  // the "A" record of "send tail"
    std::uint64_t rebootMs = 300;                 // from a restart until the port is back
    bool wlanRecords = true;                      // its settings block has wireless LAN records
    std::string productName = "VARNO-104K demo board";
    NetworkState network;  // "get id fib mac" and the interfaces' queries
};

// One reply line that goes wrong on its way: the `line`-th line (from 0) of the answer to the
// `occurrence`-th time (from 0) the command `command` is received.
struct LineFault {
    enum class Kind { Drop, Garble, Delay };
    std::string command;  // the whole command line, as the board received it
    int occurrence = 0;
    int line = 0;
    Kind kind = Kind::Drop;
    std::uint64_t delayMs = 0;  // Delay: this much later than it would come
    int seen = 0;               // times the command was answered since the fault was set
};

// Misbehaviour on request; counters count down as replies go out.
struct BoardFaults {
    bool silent = false;    // answers nothing at all, not even echoes
    int dropReplies = 0;    // the next N replies are lost
    int garbleReplies = 0;  // the next N replies arrive with their code damaged
    std::uint64_t delayNextReplyMs = 0;
    std::set<std::string, std::less<>> ignoredCommands;              // echoed, never answered
    std::map<std::string, std::uint64_t, std::less<>> lateCommands;  // answered N ms late
    bool wrongHash = false;                // "get id kofs hash" reports another hash
    bool upperCaseHash = false;            // the right hash, in upper-case digits
    bool noHashCommand = false;            // "501 " to "get id kofs hash"
    bool silentAfterStored = false;        // "412 " and then nothing
    std::size_t unplugAfterTextBytes = 0;  // the cable goes once, after this much upload text
    bool noSettings = false;               // "501 " to "send envs"
    bool settingsRefused = false;          // "501 " to "recv envs"
    bool settingsTwice600 = false;         // "600 " twice to "recv envs"
    bool settingsEarly412 = false;         // "412 " before "600 " to "recv envs"
    bool settingsReplaced = false;         // a sound block is taken, but another is stored
    bool ispRefused = false;               // the boot loader will not unlock its flash
    bool noCertificates = false;           // "501 " to "send envc"
    bool certificatesRefused = false;      // "501 " to "recv envc"
    std::string certificateReply = "410 stored";  // to a sound block after "recv envc"; "": none
    // Interface queries by name ("net0 ipaddr6 1", "net1 mode"): answered "501 ", or not at all.
    std::set<std::string, std::less<>> refusedQueries;
    std::set<std::string, std::less<>> silentQueries;
    bool endlessTables = false;          // every ARP and neighbour index has an entry
    std::optional<LineFault> lineFault;  // used once
};

}  // namespace varnow::sim
