#include "session/BoardLink.h"

#include <utility>

#include "session/SerialTexts.h"

namespace varnow {

BoardLink::BoardLink(Platform& platform, ConnectionView& view, ProgressView& progressView)
    : m_platform(platform), m_view(view), m_channel(platform), m_progress(progressView) {}

PortOpenResult BoardLink::OpenBoardPort(const std::string& name, Messenger& messenger) {
    SerialPort& serial = port();
    auto failed = [&serial](PortOpening opening, int error) {
        PortOpenResult result{opening, error, serial.LastError()};
        serial.Close();
        return result;
    };
    if (const int error = serial.Open(name); error != kSerialOk) {
        messenger.ShowText(kUnableToOpenPort, MessageStyle::Error);
        return failed(PortOpening::OpenFailed, error);
    }
    int error = serial.Setup();
    if (error == kSerialOk) {
        error = serial.SetupHandshaking();
    }
    if (error != kSerialOk) {
        messenger.ShowText(kFailToSetupPort, MessageStyle::Warning);
        return failed(PortOpening::SetupFailed, error);
    }
    if (const int masked = serial.SetMask(kConnectEventMask); masked != kSerialOk) {
        messenger.ShowText(kFailToSetupHandshaking, MessageStyle::Warning);
        return failed(PortOpening::SetupFailed, masked);
    }
    return {};
}

void BoardLink::Disconnect() {
    m_view.ShowConnected(false);
    if (portOpen()) {
        port().Close();
    }
}

void BoardLink::CancelProgressAndDisconnect() {
    if (m_progress.shown()) {
        m_progress.Close();
        Disconnect();
    }
}

void BoardLink::After(int id, int milliseconds, std::function<void()> action) {
    Every(id, milliseconds, [this, id, action = std::move(action)] {
        CancelTimer(id);
        action();
    });
}

void BoardLink::Every(int id, int milliseconds, std::function<void()> action) {
    m_timers.insert(id);
    m_platform.ArmTimer(id, milliseconds, std::move(action));
}

void BoardLink::CancelTimer(int id) {
    m_timers.erase(id);
    m_platform.CancelTimer(id);
}

void BoardLink::Quiet() {
    m_channel.End();
    for (const int id : std::exchange(m_timers, {})) {
        m_platform.CancelTimer(id);
    }
}

}  // namespace varnow
