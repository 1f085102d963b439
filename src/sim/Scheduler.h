#pragma once

#include <cstdint>
#include <functional>

namespace varnow::sim {

// The simulated board's sense of time: virtual in tests, the wall clock in varno-sim.
class Scheduler {
public:
    virtual ~Scheduler() = default;
    virtual std::uint64_t NowMs() const = 0;
    // Runs `action` `delayMs` from now, after everything already due at that time.
    virtual void After(std::uint64_t delayMs, std::function<void()> action) = 0;
};

}  // namespace varnow::sim
