#pragma once

#include <chrono>
#include <queue>
#include <vector>

#include "Scheduler.h"

namespace varnow::sim {

// The wall clock for the pseudo-terminal server's poll loop.
class RealTimeScheduler : public Scheduler {
public:
    RealTimeScheduler() : m_start(std::chrono::steady_clock::now()) {}
    std::uint64_t NowMs() const override;
    void After(std::uint64_t delayMs, std::function<void()> action) override;
    // Runs what is due; returns the milliseconds until the next action (-1: none).
    int RunDue();

private:
    struct Action {
        std::uint64_t at;
        std::uint64_t sequence;
        std::function<void()> run;
        bool operator>(const Action& other) const {
            return at != other.at ? at > other.at : sequence > other.sequence;
        }
    };
    std::chrono::steady_clock::time_point m_start;
    std::priority_queue<Action, std::vector<Action>, std::greater<>> m_actions;
    std::uint64_t m_sequence = 0;
};

}  // namespace varnow::sim
