#pragma once

#include <memory>
#include <string>
#include <utility>

#include "CliHost.h"
#include "app/BoardSession.h"
#include "link/Platform.h"

namespace varnow::cli {

// What a board command works with: a session over the chosen board, the platform whose events
// drive it, and the command line's host. The real port (or the embedded board) in the
// program; a simulated board on a virtual clock in tests.
class BoardAccess {
public:
    virtual ~BoardAccess() = default;
    virtual Platform& platform() = 0;
    virtual BoardSession& session() = 0;
    virtual CliHost& host() = 0;
    virtual const std::string& portName() const = 0;
    // The user interrupted the command (Ctrl-C): the port is closed, the operation abandoned.
    virtual bool interrupted() const = 0;

    // Runs an operation on the board and handles events until it has ended or the user
    // interrupted it (interrupted() tells which; the operation tells how far it got).
    template <typename Op, typename... Args>
    std::shared_ptr<Op> Run(Args&&... args) {
        auto operation = std::make_shared<Op>(session(), std::forward<Args>(args)...);
        bool ended = false;
        const bool started = session().Run(operation, [this, &ended] {
            ended = true;
            platform().Wake();
        });
        if (started) {
            platform().RunUntil([this, &ended] { return ended || interrupted(); });
        }
        return operation;
    }
};

}  // namespace varnow::cli
