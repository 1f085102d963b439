#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/BoardSession.h"
#include "link/Platform.h"

namespace varnow::cli {

class CliHost;

// What a board command works with: a session over the chosen board and the platform whose
// events drive it. The real port (or the embedded board) in the program; a simulated board
// on a virtual clock in tests.
class BoardAccess {
public:
    virtual ~BoardAccess() = default;
    virtual Platform& platform() = 0;
    virtual BoardSession& session() = 0;
    virtual CliHost& host() = 0;
    virtual const std::string& portName() const = 0;
    // The user interrupted the command (Ctrl-C).
    virtual bool interrupted() const { return false; }
    // Saves the exchange with the board so far (its last 256 KiB, secrets withheld) for a
    // failure's report: where it went, or nullopt when there is none.
    virtual std::optional<std::filesystem::path> KeepTrace() { return std::nullopt; }

    // Starts an operation and handles events until it has ended. Nothing polls: the
    // operation's end, or an interruption, wakes the wait. Nullopt when interrupted (or where
    // the world can tell that it never will end: a simulated one).
    template <typename Result>
    std::optional<Result> Await(
        const std::function<void(std::function<void(const Result&)>)>& start) {
        std::optional<Result> result;
        start([this, &result](const Result& ended) {
            result = ended;
            platform().Wake();
        });
        platform().RunUntil([this, &result] { return result.has_value() || interrupted(); });
        return interrupted() ? std::nullopt : result;
    }
};

}  // namespace varnow::cli
