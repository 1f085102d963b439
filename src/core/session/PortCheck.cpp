#include "session/PortCheck.h"

#include "link/CommandStates.h"
#include "session/Writer.h"

namespace varnow {

void PortCheck::OnDeviceArrival() {
    SessionRecord& session = m_writer.session();
    if (session.ignoreNextArrival) {
        session.ignoreNextArrival = false;
        return;
    }
    Check();
    session.reconnectPending = false;
}

void PortCheck::OnDeviceRemoval() {
    Check();
}

void PortCheck::OnResume() {
    if (!m_writer.platform().Port().IsOpen()) {
        return;
    }
    m_writer.Disconnect();
    m_writer.Connect();
}

void PortCheck::Check() {
    SessionRecord& session = m_writer.session();
    if (session.portName.empty()) {
        return;
    }
    SerialPort& port = m_writer.platform().Port();
    switch (m_writer.platform().ProbePort(session.portName)) {
        case PortProbe::Absent:
            if (port.IsOpen()) {
                port.Close();
                m_writer.channel().SetState(kStateIdle);
                session.reconnectPending = true;
                if (m_writer.connectOutcome() == ConnectOutcome::None) {
                    m_writer.SetConnectOutcome(ConnectOutcome::PortLost);
                }
                m_writer.CloseProgressIfShown();
                m_writer.host().ShowConnected(false);
            }
            break;
        case PortProbe::Free:
            if (session.reconnectPending) {
                m_writer.host().SelectPortInList(session.portName);
                m_writer.Connect();
            }
            break;
        case PortProbe::InUse:
        case PortProbe::Error:
            break;  // while we hold the port, other devices coming and going leave it alone
    }
}

}  // namespace varnow
