#pragma once

#include <cstdint>
#include <functional>
#include <queue>
#include <vector>

#include "Scheduler.h"

namespace varnow::sim {

// A deterministic event loop on a virtual clock. Two kinds of event share one time line:
// the tool's (timer expiries, arrival notifications, dialogs' posted messages), which run only
// while the tool's loop runs, and the world's (the simulated board), which also run while the
// tool sleeps. Time jumps straight to the next event, so seconds take microseconds.
class VirtualEventLoop : public Scheduler {
public:
    std::uint64_t NowMs() const override { return m_now; }
    // A world event.
    void After(std::uint64_t delayMs, std::function<void()> action) override;
    // A tool event.
    void Post(std::uint64_t delayMs, std::function<void()> action);

    // Runs the next event in time order; false when there is none.
    bool RunOne();
    // Runs events until `done` holds (true), nothing is left or `limitMs` of virtual time
    // have passed (false).
    bool RunUntil(const std::function<bool()>& done, std::uint64_t limitMs = 3'600'000);
    // Runs everything due within the next `ms`, then the clock stands at now + ms.
    void RunFor(std::uint64_t ms);
    void RunUntilIdle() {
        RunUntil([] { return false; });
    }
    // Runs what is already due, without advancing the clock.
    void RunDue();
    // The tool blocks: only world events run, and the clock advances by `ms`.
    void Sleep(std::uint64_t ms);
    // Told whenever an event is added: a host loop that drives this one wakes up.
    void SetWakeup(std::function<void()> wakeup) { m_wakeup = std::move(wakeup); }
    bool idle() const { return m_events.empty(); }

private:
    struct Event {
        std::uint64_t at;
        std::uint64_t sequence;
        bool world;
        std::function<void()> action;
        bool operator>(const Event& other) const {
            return at != other.at ? at > other.at : sequence > other.sequence;
        }
    };
    void Push(std::uint64_t delayMs, bool world, std::function<void()> action);
    void RunEvent();

    std::priority_queue<Event, std::vector<Event>, std::greater<>> m_events;
    std::uint64_t m_now = 0;
    std::uint64_t m_sequence = 0;
    std::function<void()> m_wakeup;
};

}  // namespace varnow::sim
