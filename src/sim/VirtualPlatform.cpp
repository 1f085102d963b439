#include "VirtualPlatform.h"

namespace varnow::sim {

VirtualPlatform::VirtualPlatform(VirtualEventLoop& loop, SimulatedPort& port,
                                 std::filesystem::path appData)
    : m_loop(loop), m_port(port), m_appData(std::move(appData)) {
    // One queued notification at a time: the handler reads everything that has arrived.
    m_port.SetArrivalNotifier([this] {
        if (m_arrivalQueued) {
            return;
        }
        m_arrivalQueued = true;
        m_loop.Post(0, [this] {
            m_arrivalQueued = false;
            if (m_listener) {
                m_listener->OnSerialEvent(kEventCharacterReceived);
            }
        });
    });
    m_port.SetFailureNotifier([this] {
        m_loop.Post(0, [this] {
            if (m_listener) {
                m_listener->OnPortFailed();
            }
        });
    });
    WatchPlugging();
}

void VirtualPlatform::WatchPlugging() {
    m_port.SetPlugNotifier([this](bool plugged) {
        if (!m_deviceNotifications) {
            return;
        }
        m_loop.Post(0, [this, plugged] {
            if (m_listener) {
                plugged ? m_listener->OnDeviceArrival() : m_listener->OnDeviceRemoval();
            }
        });
    });
}

void VirtualPlatform::ArmTimer(int id, int milliseconds, std::function<void()> expired) {
    const std::uint64_t generation = ++m_generation;
    m_timers[id] = Timer{generation, milliseconds, std::move(expired)};
    ScheduleExpiry(id, generation, milliseconds);
}

void VirtualPlatform::ScheduleExpiry(int id, std::uint64_t generation, int period) {
    m_loop.Post(static_cast<std::uint64_t>(period), [this, id, generation, period] {
        const auto timer = m_timers.find(id);
        if (timer == m_timers.end() || timer->second.generation != generation) {
            return;  // cancelled or re-armed meanwhile
        }
        ScheduleExpiry(id, generation, period);  // timers repeat until cancelled
        const std::function<void()> expired = timer->second.expired;
        expired();
    });
}

}  // namespace varnow::sim
