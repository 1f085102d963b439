#pragma once

#include <QObject>
#include <QTimer>
#include <filesystem>

#include "SimBoard.h"
#include "SimulatedPort.h"
#include "VirtualEventLoop.h"
#include "VirtualPlatform.h"

namespace varnow::testing {

// The platform of the desktop windows' tests: a simulated board, and every timer of the core,
// on a virtual clock that moves only while Qt has nothing else to do. The board's seconds take
// no time, and no outcome depends on the machine's speed: the windows see every event in the
// order the virtual clock gives, however slowly the machine runs them.
class QtVirtualPlatform : public QObject, public Platform {
public:
    static constexpr const char* kPortName = "simulated-board";

    explicit QtVirtualPlatform(std::filesystem::path appData, sim::BoardConfig config = {});

    sim::SimBoard& board() { return m_board; }
    sim::SimulatedPort& port() { return m_port; }
    sim::VirtualEventLoop& loop() { return m_loop; }

    void SetListener(PlatformListener* listener) override { m_virtual.SetListener(listener); }
    SerialPort& Port() override { return m_virtual.Port(); }
    PortProbe ProbePort(const std::string& name) override { return m_virtual.ProbePort(name); }
    std::vector<PortInfo> ListPorts() override {
        return {{kPortName, "simulated board", true, "simulated"}};
    }
    void ArmTimer(int id, int milliseconds, std::function<void()> expired) override {
        m_virtual.ArmTimer(id, milliseconds, std::move(expired));
    }
    void CancelTimer(int id) override { m_virtual.CancelTimer(id); }
    void Post(std::function<void()> task) override { m_virtual.Post(std::move(task)); }
    void PumpEvents() override;
    std::uint64_t NowMs() override { return m_loop.NowMs(); }
    void Sleep(int milliseconds) override { m_virtual.Sleep(milliseconds); }
    std::filesystem::path AppDataFolder() override { return m_virtual.AppDataFolder(); }
    FileStore& Files() override { return m_virtual.Files(); }
    bool RunUntil(const std::function<bool()>& done) override;
    void Wake() override {}
    void RunInBackground(std::function<void()> work, std::function<void()> done) override {
        m_virtual.RunInBackground(std::move(work), std::move(done));
    }

private:
    void Drive();

    sim::VirtualEventLoop m_loop;
    sim::SimBoard m_board;
    sim::SimulatedPort m_port;
    sim::VirtualPlatform m_virtual;
    QTimer m_drive;  // runs the next virtual event whenever Qt's loop is idle
};

}  // namespace varnow::testing
