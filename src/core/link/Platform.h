#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/Bytes.h"
#include "files/FileStore.h"

namespace varnow {

// Serial event bits, as the arrival notification carries them in its low 16 bits; line-error
// bits go in the high 16 bits.
inline constexpr std::uint32_t kEventCharacterReceived = 0x0001;
inline constexpr std::uint32_t kEventCtsChanged = 0x0008;
inline constexpr std::uint32_t kEventDsrChanged = 0x0010;
inline constexpr std::uint32_t kEventBreak = 0x0040;
inline constexpr std::uint32_t kEventLineError = 0x0080;
inline constexpr std::uint32_t kConnectEventMask = 0x0099;  // received, CTS, DSR, line error

// Results of serial operations; 0 is success. The numbers are the ones boards' users see in
// traces on every platform.
inline constexpr int kSerialOk = 0;
inline constexpr int kSerialNotOpen = 6;
inline constexpr int kSerialAlreadyOpen = 1247;
inline constexpr int kSerialTimedOut = 1460;
inline constexpr int kSerialFailed = 31;
inline constexpr int kSerialNotFound = 2;
inline constexpr int kSerialAccessDenied = 5;
inline constexpr int kSerialNotATerminal = 1;  // the device is no serial line

enum class PortProbe : int { Free = 0, Absent = 1, InUse = 2, Error = -1 };

// A port that may lead to a board, as the system tells of it.
struct PortInfo {
    std::string name;         // what a connect opens: a device name or a path
    std::string description;  // for listings
    bool simulated = false;
    std::string label;  // short and readable: the device name, a simulated board's name
    // What the system tells of a USB port (empty or 0 where it tells nothing): its ids, its
    // serial number, and the hub port it is plugged into (udev's ID_PATH).
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string usbSerial;
    std::string physicalPath;
};

// The one serial port that leads to the board. Opening is exclusive; reads never block.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    virtual int Open(const std::string& name) = 0;
    virtual int Setup() = 0;             // 115200 baud, 8 data bits, no parity, 1 stop bit
    virtual int SetupHandshaking() = 0;  // no flow control; DTR and RTS asserted
    virtual int SetMask(std::uint32_t events) = 0;
    // Up to buffer.size() bytes that have arrived; 0 when none (or the port is closed).
    virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
    // Writes, waiting at most 1000 ms; returns the number of bytes written (0 on failure).
    virtual std::size_t Write(ByteView bytes) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Why the last failed operation failed, in the operating system's words ("Permission
    // denied"); empty when it is not known.
    virtual std::string LastError() const { return {}; }
};

// What the platform tells the core, always on the core's one thread and never from inside a
// core call (arrivals are queued like posted window messages).
class PlatformListener {
public:
    virtual ~PlatformListener() = default;
    // Bytes have arrived (or a serial event happened): `events` low 16 bits, errors high.
    virtual void OnSerialEvent(std::uint32_t events) = 0;
    // The board's USB device came or went (where the platform reports it).
    virtual void OnDeviceArrival() {}
    virtual void OnDeviceRemoval() {}
    // The open port failed for good (its device went while it was held): it is closed.
    virtual void OnPortFailed() {}
};

// Everything the core needs of the machine it runs on.
class Platform {
public:
    virtual ~Platform() = default;
    virtual void SetListener(PlatformListener* listener) = 0;
    virtual SerialPort& Port() = 0;
    virtual PortProbe ProbePort(const std::string& name) = 0;
    // The ports that lead to a board, in the order they are offered.
    virtual std::vector<PortInfo> ListPorts() = 0;
    // Timers repeat until cancelled; arming an armed id restarts it with the new period and
    // the new expiry action. Expiries run on the core's thread, queued like arrivals.
    virtual void ArmTimer(int id, int milliseconds, std::function<void()> expired) = 0;
    virtual void CancelTimer(int id) = 0;
    // Runs `task` later on the core's thread, after the events already waiting: a posted
    // window message.
    virtual void Post(std::function<void()> task) = 0;
    // Handles every event that is already waiting (arrivals, expiries, repaints), then returns.
    virtual void PumpEvents() = 0;
    // Milliseconds on a steady clock (the virtual one in a simulated world).
    virtual std::uint64_t NowMs() = 0;
    // Blocks the core's thread; nothing is handled meanwhile.
    virtual void Sleep(int milliseconds) = 0;
    // Handles events until `done` holds; whatever makes it hold calls Wake(). False when
    // nothing is left that could make it hold (only a simulated world can know that).
    virtual bool RunUntil(const std::function<bool()>& done) = 0;
    virtual void Wake() = 0;
    // Runs `work` off the core's thread (long computations: the window keeps repainting),
    // then `done` on the core's thread. `work` touches nothing that the core's thread uses.
    virtual void RunInBackground(std::function<void()> work, std::function<void()> done) = 0;
    virtual std::filesystem::path AppDataFolder() = 0;
    // Where the tool's own files (backups, traces) are written.
    virtual FileStore& Files() = 0;
};

}  // namespace varnow
