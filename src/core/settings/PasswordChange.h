#pragma once

#include <optional>
#include <string>

namespace varnow {

// The rules of the Settings dialog's Password button: the password dialog in change mode and
// the command that sets or deletes the board's administrator password.
struct PasswordChange {
    static constexpr std::size_t kShortest = 8;
    static constexpr std::size_t kLongest = 32;

    // Delete is offered only when this connection had to log in; otherwise the user is warned
    // first that a forgotten password cannot be restored.
    static bool OffersDelete(bool loggedIn) { return loggedIn; }
    static bool WarnsFirst(bool loggedIn) { return !loggedIn; }

    // The dialog's OK: "too short" (153), "mismatch" (152), or 0 when it may close.
    static int Check(const std::string& password, const std::string& retyped);

    // "reboot psk 10 " and the password record in hexadecimal: a new password's admin key
    // salted with the board's MCU id, or the record that deletes it (nullopt). 91 characters.
    static std::string Command(const std::optional<std::string>& password,
                               const std::string& mcuId);
};

}  // namespace varnow
