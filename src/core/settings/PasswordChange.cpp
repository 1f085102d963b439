#include "settings/PasswordChange.h"

#include <algorithm>

#include "common/Cleanse.h"
#include "settings/AdminPassword.h"
#include "ui/MessageIds.h"

namespace varnow {

int PasswordChange::Check(const std::string& password, const std::string& retyped) {
    // Characters as the dialog counts them, not bytes.
    const auto characters = std::count_if(password.begin(), password.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (static_cast<std::size_t>(characters) < kShortest) {
        return kMsgPasswordTooShort;
    }
    if (retyped != password) {
        return kMsgPasswordMismatch;
    }
    return 0;
}

std::string PasswordChange::Command(const std::optional<std::string>& password,
                                    const std::string& mcuId) {
    if (!password) {
        return PasswordCommand(MakeDeletePasswordRecord());
    }
    AdminKey key = DeriveAdminKey(*password, AdminKeySalt(mcuId));
    PasswordRecord record = MakeSetPasswordRecord(key);
    std::string command = PasswordCommand(record);
    Cleanse(std::span(key));
    Cleanse(std::span(record));
    return command;
}

}  // namespace varnow
