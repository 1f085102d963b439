#include "settings/PasswordChange.h"

#include "common/Cleanse.h"
#include "common/Utf8Text.h"
#include "settings/AdminPassword.h"
#include "ui/MessageIds.h"

namespace varnow {

int PasswordChange::Check(const std::string& password, const std::string& retyped) {
    // Characters as the dialog counts them, not bytes.
    if (Utf8Characters(password) < kShortest) {
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
