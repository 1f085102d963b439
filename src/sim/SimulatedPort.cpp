#include "SimulatedPort.h"

#include <algorithm>

namespace varnow::sim {

SimulatedPort::SimulatedPort(SimBoard& board, std::string name)
    : m_board(board), m_name(std::move(name)) {
    m_board.SetOutput([this](std::string_view bytes) { Deliver(bytes); });
    m_board.SetUsb([this] { Unplug(); }, [this] { Replug(); });
}

int SimulatedPort::Open(const std::string& name) {
    if (m_open) {
        return kSerialAlreadyOpen;
    }
    if (name != m_name || !m_plugged) {
        return kSerialNotFound;
    }
    m_open = true;
    m_received.clear();
    m_readAt = 0;
    return kSerialOk;
}

std::size_t SimulatedPort::Read(std::span<std::uint8_t> buffer) {
    if (!m_open || !m_plugged) {
        return 0;
    }
    const std::size_t count = std::min(buffer.size(), m_received.size() - m_readAt);
    std::copy_n(m_received.begin() + static_cast<std::ptrdiff_t>(m_readAt), count, buffer.begin());
    m_readAt += count;
    if (m_readAt == m_received.size()) {
        m_received.clear();
        m_readAt = 0;
    }
    return count;
}

std::size_t SimulatedPort::Write(ByteView bytes) {
    if (m_tap) {
        m_tap(bytes);
    }
    if (!m_open || !m_plugged) {
        return 0;
    }
    if (m_stalls > 0) {
        --m_stalls;
        return 0;
    }
    m_written.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    m_board.Receive(bytes);
    return bytes.size();
}

void SimulatedPort::Close() {
    if (m_open) {
        m_board.HostClosedPort();
    }
    m_open = false;
    m_received.clear();
    m_readAt = 0;
}

void SimulatedPort::Unplug() {
    const bool held = m_open && m_plugged;
    m_plugged = false;
    m_received.clear();
    m_readAt = 0;
    if (held && m_failed) {
        m_failed();
    }
    if (m_plugNotify) {
        m_plugNotify(false);
    }
}

void SimulatedPort::Replug() {
    // The cable brings the power back: the board starts afresh, in the mode it was left in.
    m_board.Restart();
    if (!m_returnNames.empty()) {
        m_name = m_returnNames[m_nextReturnName++ % m_returnNames.size()];
    }
    m_plugged = true;
    if (m_plugNotify) {
        m_plugNotify(true);
    }
}

PortProbe SimulatedPort::Probe(const std::string& name) const {
    if (name != m_name || !m_plugged) {
        return PortProbe::Absent;
    }
    return m_open ? PortProbe::InUse : PortProbe::Free;
}

void SimulatedPort::Deliver(std::string_view bytes) {
    // Bytes sent while nobody holds the port, or while it is unplugged, are lost.
    if (!m_open || !m_plugged) {
        return;
    }
    m_received.append(bytes);
    if (m_notify) {
        m_notify();
    }
}

}  // namespace varnow::sim
