#include "VirtualEventLoop.h"

#include <algorithm>

namespace varnow::sim {

void VirtualEventLoop::After(std::uint64_t delayMs, std::function<void()> action) {
    Push(delayMs, true, std::move(action));
}

void VirtualEventLoop::Post(std::uint64_t delayMs, std::function<void()> action) {
    Push(delayMs, false, std::move(action));
}

void VirtualEventLoop::Push(std::uint64_t delayMs, bool world, std::function<void()> action) {
    m_events.push(Event{m_now + delayMs, m_sequence++, world, std::move(action)});
    if (m_wakeup) {
        m_wakeup();
    }
}

void VirtualEventLoop::RunEvent() {
    Event event = m_events.top();
    m_events.pop();
    m_now = std::max(m_now, event.at);
    event.action();
}

bool VirtualEventLoop::RunOne() {
    if (m_events.empty()) {
        return false;
    }
    RunEvent();
    return true;
}

bool VirtualEventLoop::RunUntil(const std::function<bool()>& done, std::uint64_t limitMs) {
    const std::uint64_t limit = m_now + limitMs;
    while (!done()) {
        if (m_events.empty() || m_events.top().at > limit) {
            return false;
        }
        RunEvent();
    }
    return true;
}

void VirtualEventLoop::RunFor(std::uint64_t ms) {
    const std::uint64_t end = m_now + ms;
    while (!m_events.empty() && m_events.top().at <= end) {
        RunEvent();
    }
    m_now = end;
}

void VirtualEventLoop::RunDue() {
    while (!m_events.empty() && m_events.top().at <= m_now) {
        RunEvent();
    }
}

void VirtualEventLoop::Sleep(std::uint64_t ms) {
    const std::uint64_t end = m_now + ms;
    // Tool events that fall due meanwhile wait; world events happen as they would.
    std::vector<Event> waiting;
    while (!m_events.empty() && m_events.top().at <= end) {
        if (m_events.top().world) {
            RunEvent();
        } else {
            waiting.push_back(m_events.top());
            m_events.pop();
        }
    }
    for (auto& event : waiting) {
        m_events.push(std::move(event));
    }
    m_now = end;
}

}  // namespace varnow::sim
