#pragma once

#include <optional>
#include <set>
#include <string>

#include "link/Platform.h"

namespace varnow {

// Follows the ports while a board that restarted is away: which went, which came (new names,
// or names seen gone that are there again), and where the board may be now. Its own path is
// probed as well as listed: it may be a path no listing covers.
class ReturnWatch {
public:
    // The board leaves `port`; the ports listed now are the ones that were there before.
    void Begin(Platform& platform, const std::string& port);
    // A look at the ports. `leftMayBeBack`: the board's own path there counts as the board
    // back once it has been seen gone, or when this is set (a restart quicker than the looks).
    // True while the board's own path is there.
    bool Look(Platform& platform, bool leftMayBeBack);
    // The first free port the board may be on: its USB identity, its path back, an arrival.
    std::optional<std::string> FreePort(Platform& platform) const;
    // Another board answered there: not this one.
    void Exclude(const std::string& port) { m_excluded.insert(port); }
    bool leftSeenGone() const { return m_gone.count(m_left.name) != 0; }
    const PortInfo& left() const { return m_left; }

private:
    PortInfo m_left;
    std::set<std::string> m_known;
    std::set<std::string> m_gone;
    std::set<std::string> m_arrived;
    std::set<std::string> m_excluded;
};

}  // namespace varnow
