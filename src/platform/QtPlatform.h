#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "link/Platform.h"

namespace varnow::platform {

// The platform over QtCore: QTimer per id, the Qt event loop for pumping and nested waits.
// The serial port is handed in: the board's real port, or a simulated one.
class QtPlatform : public QObject, public Platform {
public:
    // `probe` answers for port names; `port` must outlive the platform.
    QtPlatform(SerialPort& port, std::function<PortProbe(const std::string&)> probe);
    ~QtPlatform() override;

    // What the port calls when bytes have arrived; the notification reaches the listener
    // later, from the event loop, never from inside the call that read or wrote.
    void NotifyArrival();
    // The board's USB device came (true) or went (false); reaches the listener later, from the
    // event loop.
    void NotifyDeviceChange(bool arrived);

    void SetListener(PlatformListener* listener) override { m_listener = listener; }
    SerialPort& Port() override { return m_port; }
    PortProbe ProbePort(const std::string& name) override;
    void ArmTimer(int id, int milliseconds) override;
    void CancelTimer(int id) override;
    void Post(std::function<void()> task) override;
    void PumpEvents() override;
    void Sleep(int milliseconds) override;
    std::filesystem::path AppDataFolder() override;
    // Where extracted files go instead of the user's application-data folder.
    void SetAppDataFolder(std::filesystem::path folder) { m_appData = std::move(folder); }

private:
    SerialPort& m_port;
    std::function<PortProbe(const std::string&)> m_probe;
    PlatformListener* m_listener = nullptr;
    std::map<int, std::unique_ptr<QTimer>> m_timers;
    bool m_arrivalQueued = false;
    std::filesystem::path m_appData;
};

}  // namespace varnow::platform
