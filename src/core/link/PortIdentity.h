#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/Platform.h"

namespace varnow {

// The port named by a `--port` argument: "usb:SERIAL" (the USB serial number), "usb-path:PATH"
// (the hub port, as udev's ID_PATH tells it), or a name or path taken as it stands. Nullopt
// when a "usb:" or "usb-path:" form matches no listed port.
std::optional<std::string> ResolvePortArgument(const std::string& argument,
                                               const std::vector<PortInfo>& ports);

// Where a board that restarted may be now. `left` is its port as it was listed before the
// restart; `arrived` the ports that appeared while it was away (new names, or names that were
// seen gone and came back). In order: a port with its USB serial number, a port on its hub
// port, its own name back again, then each other arrival; ports in `excluded` (another board
// answered there) are passed over. A port that was there all along and tells no identity of
// the board is never a candidate: it is another board that did not restart.
std::vector<std::string> ReturnCandidates(const PortInfo& left, const std::vector<PortInfo>& now,
                                          const std::set<std::string>& arrived,
                                          const std::set<std::string>& excluded);

// The listed port of this name; a port with only its name when it is not listed.
PortInfo ListedPort(const std::string& name, const std::vector<PortInfo>& ports);

}  // namespace varnow
