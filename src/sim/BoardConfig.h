#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace varnow::sim {

// Who the simulated board is and how it behaves.
struct BoardConfig {
    std::vector<std::string> fibLines{"VARNO-FIB-0001 rev.B"};  // data lines of "get id fib"
    std::string mcuId = "0123456789abcdef0123456789abcdef01234567";
    bool mcuIdSupported = true;                  // false: "501 " to "get id mcu"
    std::optional<std::string> pdbLine = "0100";  // nullopt: "501 " (firmware too old)
    std::optional<std::string> password;          // set: the board asks for a login
    bool ispMode = false;                         // starts in its boot loader
    std::uint64_t latencyMs = 2;                  // from a command's CR to its reply
    std::uint32_t seed = 1;                       // login challenges
};

// Misbehaviour on request; counters count down as replies go out.
struct BoardFaults {
    bool silent = false;         // answers nothing at all, not even echoes
    int dropReplies = 0;         // the next N replies are lost
    int garbleReplies = 0;       // the next N replies arrive with their code damaged
    std::uint64_t delayNextReplyMs = 0;
    std::set<std::string, std::less<>> ignoredCommands;  // echoed, never answered
    std::map<std::string, std::uint64_t, std::less<>> lateCommands;  // answered N ms late
};

}  // namespace varnow::sim
