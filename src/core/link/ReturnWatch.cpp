#include "link/ReturnWatch.h"

#include "link/PortIdentity.h"

namespace varnow {

void ReturnWatch::Begin(Platform& platform, const std::string& port) {
    const std::vector<PortInfo> ports = platform.ListPorts();
    m_left = ListedPort(port, ports);
    m_known.clear();
    for (const PortInfo& listed : ports) {
        m_known.insert(listed.name);
    }
    m_known.insert(m_left.name);
    m_gone.clear();
    m_arrived.clear();
    m_excluded.clear();
}

bool ReturnWatch::Look(Platform& platform, bool leftMayBeBack) {
    std::set<std::string> present;
    for (const PortInfo& port : platform.ListPorts()) {
        present.insert(port.name);
    }
    const bool leftPresent =
        !m_left.name.empty() && platform.ProbePort(m_left.name) != PortProbe::Absent;
    if (leftPresent) {
        present.insert(m_left.name);
    } else {
        present.erase(m_left.name);
    }
    for (const std::string& name : m_known) {
        if (present.count(name) == 0) {
            m_gone.insert(name);
        }
    }
    for (const std::string& name : present) {
        const bool back = m_gone.count(name) != 0 || (name == m_left.name && leftMayBeBack);
        if (m_known.count(name) == 0 || back) {
            m_arrived.insert(name);
        }
    }
    return leftPresent;
}

std::optional<std::string> ReturnWatch::FreePort(Platform& platform) const {
    for (const std::string& name :
         ReturnCandidates(m_left, platform.ListPorts(), m_arrived, m_excluded)) {
        if (platform.ProbePort(name) == PortProbe::Free) {
            return name;
        }
    }
    return std::nullopt;
}

}  // namespace varnow
