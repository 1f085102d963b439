#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "PrivateFiles.h"
#include "link/BoardLine.h"
#include "link/Platform.h"

namespace varnow::platform {

// The platform over QtCore: a QTimer per id, the Qt event loop for pumping and waiting, the
// machine's private file store, and a board line: the machine's own serial ports unless
// another line is given.
class QtPlatform : public QObject, public Platform {
public:
    explicit QtPlatform(std::unique_ptr<BoardLine> line = nullptr);
    ~QtPlatform() override;

    BoardLine& line() { return *m_line; }
    // How many board devices have come and gone since the start.
    int deviceEvents() const { return m_deviceEvents; }

    void SetListener(PlatformListener* listener) override { m_listener = listener; }
    SerialPort& Port() override { return m_line->Port(); }
    PortProbe ProbePort(const std::string& name) override { return m_line->Probe(name); }
    std::vector<PortInfo> ListPorts() override { return m_line->ListPorts(); }
    void ArmTimer(int id, int milliseconds, std::function<void()> expired) override;
    void CancelTimer(int id) override;
    void Post(std::function<void()> task) override;
    void PumpEvents() override;
    std::uint64_t NowMs() override { return static_cast<std::uint64_t>(m_clock.elapsed()); }
    void Sleep(int milliseconds) override;
    std::filesystem::path AppDataFolder() override;
    FileStore& Files() override { return m_files; }
    bool RunUntil(const std::function<bool()>& done) override;
    void Wake() override;
    void RunInBackground(std::function<void()> work, std::function<void()> done) override;
    // Where the tool's files go instead of the user's application-data folder.
    void SetAppDataFolder(std::filesystem::path folder) { m_appData = std::move(folder); }

private:
    struct Timer {
        std::unique_ptr<QTimer> timer;
        std::function<void()> expired;
    };
    // The line's notices reach the listener later, from the event loop, never from inside
    // the call that read or wrote.
    void NotifyArrival();
    void NotifyDeviceChange(bool arrived);
    void NotifyPortFailed();

    std::unique_ptr<BoardLine> m_line;
    PlatformListener* m_listener = nullptr;
    std::map<int, Timer> m_timers;
    std::vector<QEventLoop*> m_waits;
    bool m_arrivalQueued = false;
    int m_deviceEvents = 0;
    std::filesystem::path m_appData;
    PrivateFileStore m_files;
    QElapsedTimer m_clock;
};

// The machine's serial ports: QSerialPort, the board's USB ports and the simulated-ports
// folder for listing, udev and the folder for hot-plug.
std::unique_ptr<BoardLine> MakeSerialLine();

}  // namespace varnow::platform
