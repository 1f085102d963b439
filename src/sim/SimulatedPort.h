#pragma once

#include <functional>
#include <string>
#include <vector>

#include "SimBoard.h"
#include "link/Platform.h"

namespace varnow::sim {

// A serial port whose other end is a simulated board in the same process. The port can be
// unplugged and plugged in again like the board's USB cable.
class SimulatedPort : public SerialPort {
public:
    SimulatedPort(SimBoard& board, std::string name);

    // Called when the device vanishes (false) or comes back (true).
    void SetPlugNotifier(std::function<void(bool)> notify) { m_plugNotify = std::move(notify); }
    // Called whenever bytes have arrived; the platform turns it into a queued notification.
    void SetArrivalNotifier(std::function<void()> notify) { m_notify = std::move(notify); }
    // Called when the device vanishes while the tool holds it open: the port has failed, as
    // a real one fails with an I/O error.
    void SetFailureNotifier(std::function<void()> notify) { m_failed = std::move(notify); }

    int Open(const std::string& name) override;
    int Setup() override { return IsOpen() ? kSerialOk : kSerialNotOpen; }
    int SetupHandshaking() override { return IsOpen() ? kSerialOk : kSerialNotOpen; }
    int SetMask(std::uint32_t) override { return IsOpen() ? kSerialOk : kSerialNotOpen; }
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    std::size_t Write(ByteView bytes) override;
    void Close() override;
    bool IsOpen() const override { return m_open; }
    std::string LastError() const override { return "No such file or directory"; }

    const std::string& name() const { return m_name; }
    bool plugged() const { return m_plugged; }
    // The device vanishes: writes fail and nothing arrives; the tool's handle stays until it
    // closes it.
    void Unplug();
    // The device comes back; the board starts afresh.
    void Replug();
    // Each time the device comes back it takes the next of these names (in turn), as a USB
    // port that re-enumerates under another name.
    void SetReturnNames(std::vector<std::string> names) { m_returnNames = std::move(names); }
    PortProbe Probe(const std::string& name) const;

    // Sees every write the tool makes, as it makes it.
    void SetWriteTap(std::function<void(ByteView)> tap) { m_tap = std::move(tap); }
    // The next `count` writes move nothing, as a port whose driver stalls.
    void StallWrites(int count) { m_stalls = count; }
    // Every byte the tool has written, for tests.
    const std::string& written() const { return m_written; }

private:
    void Deliver(std::string_view bytes);

    SimBoard& m_board;
    std::string m_name;
    std::vector<std::string> m_returnNames;
    std::size_t m_nextReturnName = 0;
    std::function<void()> m_notify;
    std::function<void(ByteView)> m_tap;
    std::function<void(bool)> m_plugNotify;
    std::function<void()> m_failed;
    bool m_open = false;
    bool m_plugged = true;
    std::string m_received;
    std::size_t m_readAt = 0;
    std::string m_written;
    int m_stalls = 0;
};

}  // namespace varnow::sim
