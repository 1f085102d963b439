#pragma once

#include <gtest/gtest.h>

#include "SimBoard.h"
#include "SimulatedPort.h"
#include "VirtualEventLoop.h"
#include "VirtualPlatform.h"
#include "session/Writer.h"
#include "support/ScriptedHost.h"
#include "ui/StringTable.h"

namespace varnow::testing {

inline constexpr const char* kBoardPort = "/dev/ttyACM0";

// A writer connected by a simulated cable to a simulated board, all on one virtual clock.
class BoardFixture : public ::testing::Test {
protected:
    explicit BoardFixture(sim::BoardConfig config = {})
        : board(std::move(config), loop),
          port(board, kBoardPort),
          platform(loop, port),
          host(loop),
          writer(platform, host, strings, Language::English) {
        host.SelectPort(kBoardPort);
    }

    // The bytes the tool wrote, in order, as one string.
    const std::string& written() const { return port.written(); }

    sim::VirtualEventLoop loop;
    sim::SimBoard board;
    sim::SimulatedPort port;
    sim::VirtualPlatform platform;
    ScriptedHost host;
    StringTable strings = StringTable::BuiltIn();
    Writer writer;
};

}  // namespace varnow::testing
