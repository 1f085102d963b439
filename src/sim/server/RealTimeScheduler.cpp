#include "RealTimeScheduler.h"

namespace varnow::sim {

std::uint64_t RealTimeScheduler::NowMs() const {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - m_start)
                                          .count());
}

void RealTimeScheduler::After(std::uint64_t delayMs, std::function<void()> action) {
    m_actions.push(Action{NowMs() + delayMs, m_sequence++, std::move(action)});
}

int RealTimeScheduler::RunDue() {
    while (!m_actions.empty() && m_actions.top().at <= NowMs()) {
        Action action = m_actions.top();
        m_actions.pop();
        action.run();
    }
    if (m_actions.empty()) {
        return -1;
    }
    return static_cast<int>(m_actions.top().at - NowMs());
}

}  // namespace varnow::sim
