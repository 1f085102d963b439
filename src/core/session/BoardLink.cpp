#include "session/BoardLink.h"

#include "session/SerialTexts.h"

namespace varnow {

BoardLink::BoardLink(Platform& platform, ConnectionView& view, ProgressView& progressView,
                     Messenger& messenger)
    : m_platform(platform),
      m_view(view),
      m_messenger(messenger),
      m_channel(platform),
      m_progress(progressView) {}

PortOpenResult BoardLink::OpenBoardPort(const std::string& name) {
    SerialPort& serial = port();
    auto failed = [&serial](PortOpening opening, int error) {
        PortOpenResult result{opening, error, serial.LastError()};
        serial.Close();
        return result;
    };
    if (const int error = serial.Open(name); error != kSerialOk) {
        m_messenger.ShowText(kUnableToOpenPort, MessageStyle::Error);
        return failed(PortOpening::OpenFailed, error);
    }
    int error = serial.Setup();
    if (error == kSerialOk) {
        error = serial.SetupHandshaking();
    }
    if (error != kSerialOk) {
        m_messenger.ShowText(kFailToSetupPort, MessageStyle::Warning);
        return failed(PortOpening::SetupFailed, error);
    }
    if (const int masked = serial.SetMask(kConnectEventMask); masked != kSerialOk) {
        m_messenger.ShowText(kFailToSetupHandshaking, MessageStyle::Warning);
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

}  // namespace varnow
