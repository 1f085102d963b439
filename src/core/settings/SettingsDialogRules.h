#pragma once

#include <string>

#include "common/Bytes.h"
#include "settings/SettingsWrite.h"

namespace varnow {

// The Settings dialog's own rules, apart from its pages.
struct SettingsDialogRules {
    // "Settings - <product name>"; the name as the board holds it (up to its first zero byte),
    // cut to 1023 characters.
    static std::string Title(const std::string& caption, ByteView productName);

    // Certificates cannot be changed on boards whose FIB id begins with the bytes "f1sP" and
    // goes on after them.
    static bool CertificatesAllowed(const std::string& fibId);

    // What the dialog shows when a write has ended: the reboot question after success, the
    // failure message (140) when the board did not take the block, why nothing was written
    // when the block as read could not be saved first, or nothing when the refusal was
    // already shown (no board, boot loader).
    enum class FollowUp { AskReboot, Failed, NotSaved, Nothing };
    static FollowUp AfterWrite(SettingsWriteOutcome outcome);
};

}  // namespace varnow
