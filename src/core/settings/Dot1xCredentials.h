#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"

namespace varnow {

// The 802.1X "ID/Password" dialog of the wireless LAN page: the ID (and, unless the method is
// EAP-TLS, the password) in the text areas of the block's 802.1X records, each as long as its
// record holds.
struct Dot1xCredentials {
    bool withPassword = true;
    std::string id;
    std::string password;
    std::size_t idLimit = 0;  // bytes
    std::size_t passwordLimit = 0;

    // Nullopt when the block has no 802.1X records ("ENV Error"). `dot1xItem` is the page's
    // selected method (1: EAP-TLS asks for the ID only).
    static std::optional<Dot1xCredentials> Open(const EnvironmentData& data, int dot1xItem);

    // Whether the typed texts fit their areas as the board stores them, without control
    // characters: the message (with its values) of the first that does not, else 0.
    int Check(std::vector<std::string>& args) const;
    // OK: the typed texts into their areas, zero-padded (after Check: nothing is cut).
    void Accept(EnvironmentData& data) const;
};

}  // namespace varnow
