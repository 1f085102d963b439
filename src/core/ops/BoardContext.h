#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "connect/ConnectOutcome.h"
#include "files/FileStore.h"
#include "session/BoardLink.h"
#include "ui/Host.h"
#include "ui/Questions.h"
#include "ui/StringTable.h"

namespace varnow {

// What an operation runs in: the link to the board, the person's answers, the windows it
// drives while it works, and the board's return after a restart. The session provides it.
class BoardContext {
public:
    using Returned = std::function<void(const std::optional<ConnectResult>& connect)>;

    virtual ~BoardContext() = default;
    virtual BoardLink& link() = 0;
    virtual Questions& questions() = 0;
    virtual FirmwareWindowView& firmwareWindow() = 0;
    // Where an operation's messages go while it runs, besides its result (none: only there).
    virtual MessageHost* liveMessages() = 0;
    virtual const StringTable& strings() const = 0;
    virtual Language language() const = 0;
    // The tool's folder in the application-data folder ("VarnoW").
    virtual std::filesystem::path dataFolder() = 0;
    // Where a combined package's firmware is split off.
    virtual std::filesystem::path extractionFolder() = 0;
    // The board was told to restart: waits until it is back (within a bound) and connects to
    // it; `login` answers its login when given, else the questions do. Nullopt: it did not
    // come back in time. Nothing else is heard from the board meanwhile.
    virtual void AwaitReturn(Questions* login, Returned returned) = 0;
    // The same up to its port being back, without connecting.
    virtual void AwaitPort(std::function<void(bool back)> returned) = 0;
};

}  // namespace varnow
