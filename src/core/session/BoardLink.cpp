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

PortOpening BoardLink::OpenBoardPort(const std::string& name) {
    SerialPort& serial = port();
    if (serial.Open(name) != kSerialOk) {
        m_messenger.ShowText(kUnableToOpenPort, MessageStyle::Error);
        serial.Close();
        return PortOpening::OpenFailed;
    }
    if (serial.Setup() != kSerialOk || serial.SetupHandshaking() != kSerialOk) {
        m_messenger.ShowText(kFailToSetupPort, MessageStyle::Warning);
        serial.Close();
        return PortOpening::SetupFailed;
    }
    if (serial.SetMask(kConnectEventMask) != kSerialOk) {
        m_messenger.ShowText(kFailToSetupHandshaking, MessageStyle::Warning);
        serial.Close();
        return PortOpening::SetupFailed;
    }
    return PortOpening::Opened;
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
