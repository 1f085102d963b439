#pragma once

#include <filesystem>
#include <map>

#include "SimulatedPort.h"
#include "VirtualEventLoop.h"
#include "link/Platform.h"

namespace varnow::sim {

// The platform of the tests: a simulated port and timers on the virtual clock.
class VirtualPlatform : public Platform {
public:
    VirtualPlatform(VirtualEventLoop& loop, SimulatedPort& port,
                    std::filesystem::path appData = std::filesystem::temp_directory_path());

    void SetListener(PlatformListener* listener) override { m_listener = listener; }
    SerialPort& Port() override { return m_port; }
    PortProbe ProbePort(const std::string& name) override { return m_port.Probe(name); }
    std::vector<PortInfo> ListPorts() override {
        if (!m_port.plugged()) {
            return {};
        }
        return {{m_port.name(), "simulated board", true, m_port.name()}};
    }
    std::uint64_t NowMs() override { return m_loop.NowMs(); }
    void ArmTimer(int id, int milliseconds, std::function<void()> expired) override;
    void CancelTimer(int id) override { m_timers.erase(id); }
    void Post(std::function<void()> task) override { m_loop.Post(0, std::move(task)); }
    void PumpEvents() override { m_loop.RunDue(); }
    void Sleep(int milliseconds) override {
        m_loop.Sleep(static_cast<std::uint64_t>(milliseconds));
    }
    std::filesystem::path AppDataFolder() override { return m_appData; }
    FileStore& Files() override { return m_files ? *m_files : m_plainFiles; }
    // Where the tool's files are written instead of the plain store of the standard library.
    void SetFiles(FileStore* files) { m_files = files; }
    void SetAppDataFolder(std::filesystem::path folder) { m_appData = std::move(folder); }
    bool RunUntil(const std::function<bool()>& done) override { return m_loop.RunUntil(done); }
    void Wake() override {}  // the virtual loop looks at `done` after every event
    // The work takes no virtual time: it runs at once, and its end is posted.
    void RunInBackground(std::function<void()> work, std::function<void()> done) override {
        work();
        Post(std::move(done));
    }

    bool TimerArmed(int id) const { return m_timers.count(id) != 0; }
    // Off: the port's unplug and replug are not reported, as for a path no notification
    // covers.
    void SetDeviceNotifications(bool on) { m_deviceNotifications = on; }
    VirtualEventLoop& loop() { return m_loop; }

private:
    struct Timer {
        std::uint64_t generation;
        int period;
        std::function<void()> expired;
    };
    void ScheduleExpiry(int id, std::uint64_t generation, int period);
    // The port's unplug and replug reach the listener as device removal and arrival.
    void WatchPlugging();

    VirtualEventLoop& m_loop;
    SimulatedPort& m_port;
    std::filesystem::path m_appData;
    PlainFileStore m_plainFiles;
    FileStore* m_files = nullptr;
    PlatformListener* m_listener = nullptr;
    std::map<int, Timer> m_timers;
    std::uint64_t m_generation = 0;
    bool m_arrivalQueued = false;
    bool m_deviceNotifications = true;
};

}  // namespace varnow::sim
