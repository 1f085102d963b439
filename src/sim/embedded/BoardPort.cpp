#include "BoardPort.h"

namespace varnow::sim {

BoardPort::BoardPort(bool simulated) {
    if (simulated) {
        m_embedded = std::make_unique<EmbeddedBoard>();
    } else {
        m_serialPort = std::make_unique<platform::QtSerialPort>();
    }
}

SerialPort& BoardPort::port() {
    return m_embedded ? static_cast<SerialPort&>(m_embedded->port()) : *m_serialPort;
}

PortProbe BoardPort::Probe(const std::string& name) {
    if (m_embedded) {
        return m_embedded->port().Probe(name);
    }
    return platform::ProbeSerialPort(name, m_serialPort->IsOpen() && m_serialPort->name() == name);
}

void BoardPort::Attach(platform::QtPlatform& platform) {
    if (m_embedded) {
        m_embedded->port().SetArrivalNotifier([&platform] { platform.NotifyArrival(); });
        // The embedded board's restarts take its port away and bring it back.
        m_embedded->port().SetPlugNotifier(
            [&platform](bool plugged) { platform.NotifyDeviceChange(plugged); });
    } else {
        m_serialPort->SetArrivalNotifier([&platform] { platform.NotifyArrival(); });
    }
}

}  // namespace varnow::sim
