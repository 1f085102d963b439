#include "settings/PasswordChange.h"

#include "common/Cleanse.h"
#include "settings/AdminPassword.h"
#include "ui/MessageIds.h"

namespace varnow {

int PasswordChange::Check(const std::string& password, const std::string& retyped) {
    if (password.size() < kShortest) {
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
