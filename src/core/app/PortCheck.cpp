#include "app/PortCheck.h"

namespace varnow {

void PortCheck::OnDeviceArrival() {
    SessionRecord& session = m_link.session();
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
    if (!m_link.portOpen()) {
        return;
    }
    m_link.Disconnect();
    m_connect();
}

void PortCheck::OnPortFailed() {
    Lost();
}

void PortCheck::Lost() {
    if (m_link.portOpen()) {
        m_link.port().Close();
    }
    m_link.session().reconnectPending = true;
    m_link.progress().Close();
    m_link.view().ShowConnected(false);
    m_lost();
    // Last: the operation that ends here may start the next one.
    m_link.channel().AbandonForLostPort();
}

void PortCheck::ConnectIfBack() {
    const SessionRecord& session = m_link.session();
    if (!session.portName.empty() && !m_link.portOpen() && !session.restarting &&
        m_link.platform().ProbePort(session.portName) == PortProbe::Free) {
        m_link.view().SelectPortInList(session.portName);
        m_connect();
    }
}

void PortCheck::Check() {
    SessionRecord& session = m_link.session();
    if (session.portName.empty()) {
        return;
    }
    switch (m_link.platform().ProbePort(session.portName)) {
        case PortProbe::Absent:
            session.restarting = false;  // seen gone: the next time it is there, it is back
            if (m_link.portOpen()) {
                Lost();
            }
            break;
        case PortProbe::Free:
            if (session.reconnectPending && !session.restarting) {
                m_link.view().SelectPortInList(session.portName);
                m_connect();
            }
            break;
        case PortProbe::InUse:
        case PortProbe::Error:
            break;  // while we hold the port, other devices coming and going leave it alone
    }
}

}  // namespace varnow
