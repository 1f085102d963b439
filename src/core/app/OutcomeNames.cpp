#include "app/OutcomeNames.h"

namespace varnow {

const char* OutcomeName(SettingsOutcome outcome) {
    switch (outcome) {
        case SettingsOutcome::Written:
            return "written";
        case SettingsOutcome::Unchanged:
            return "unchanged";
        case SettingsOutcome::DryRun:
            return "dry-run";
        case SettingsOutcome::Refused:
            return "refused";
        case SettingsOutcome::ChangedMeanwhile:
            return "changed-meanwhile";
        case SettingsOutcome::OtherBoard:
            return "other-board";
        case SettingsOutcome::BadBackup:
            return "bad-backup";
        case SettingsOutcome::NotRead:
            return "not-read";
        case SettingsOutcome::BackupFailed:
            return "backup-failed";
        case SettingsOutcome::NotSent:
            return "not-sent";
        case SettingsOutcome::NotTaken:
            return "not-taken";
        case SettingsOutcome::ReadBackDiffers:
            return "read-back-differs";
        case SettingsOutcome::Unconfirmed:
            return "unconfirmed";
        case SettingsOutcome::RestartFailed:
            return "restart-failed";
        case SettingsOutcome::IspMode:
            return "isp-mode";
        case SettingsOutcome::NoBoard:
            return "no-board";
        case SettingsOutcome::BoardLost:
            return "board-lost";
    }
    return "unknown";
}

const char* OutcomeName(SettingsReadOutcome outcome) {
    switch (outcome) {
        case SettingsReadOutcome::Read:
            return "read";
        case SettingsReadOutcome::IspMode:
            return "isp-mode";
        case SettingsReadOutcome::NoBoard:
            return "no-board";
        case SettingsReadOutcome::Undecodable:
            return "undecodable";
        case SettingsReadOutcome::TimedOut:
            return "timed-out";
        case SettingsReadOutcome::PortLost:
            return "port-lost";
    }
    return "unknown";
}

const char* OutcomeName(PasswordOutcome outcome) {
    switch (outcome) {
        case PasswordOutcome::Set:
            return "set";
        case PasswordOutcome::Deleted:
            return "deleted";
        case PasswordOutcome::Restarted:
            return "restarted";
        case PasswordOutcome::Refused:
            return "refused";
        case PasswordOutcome::NoMcuId:
            return "no-mcu-id";
        case PasswordOutcome::McuIdUnsure:
            return "mcu-id-unsure";
        case PasswordOutcome::OldStillTaken:
            return "old-still-taken";
        case PasswordOutcome::NeitherTaken:
            return "neither-taken";
        case PasswordOutcome::NotBack:
            return "not-back";
        case PasswordOutcome::ReconnectFailed:
            return "reconnect-failed";
        case PasswordOutcome::OtherBoard:
            return "other-board";
        case PasswordOutcome::TimedOut:
            return "timed-out";
        case PasswordOutcome::IspMode:
            return "isp-mode";
        case PasswordOutcome::NoBoard:
            return "no-board";
        case PasswordOutcome::BoardLost:
            return "board-lost";
    }
    return "unknown";
}

const char* OutcomeName(RestartOutcome outcome) {
    switch (outcome) {
        case RestartOutcome::Back:
            return "back";
        case RestartOutcome::Refused:
            return "refused";
        case RestartOutcome::NotBack:
            return "not-back";
        case RestartOutcome::ReconnectFailed:
            return "reconnect-failed";
        case RestartOutcome::OtherBoard:
            return "other-board";
        case RestartOutcome::NoBoard:
            return "no-board";
    }
    return "unknown";
}

const char* OutcomeName(IdentityOutcome outcome) {
    switch (outcome) {
        case IdentityOutcome::Stored:
            return "stored";
        case IdentityOutcome::DryRun:
            return "dry-run";
        case IdentityOutcome::KeyNotRsa:
            return "key-not-rsa";
        case IdentityOutcome::KeyMismatch:
            return "key-mismatch";
        case IdentityOutcome::KeyTooShort:
            return "key-too-short";
        case IdentityOutcome::CertificateDamaged:
            return "certificate-damaged";
        case IdentityOutcome::NotPacked:
            return "not-packed";
        case IdentityOutcome::KeyFailed:
            return "key-failed";
        case IdentityOutcome::NotRead:
            return "not-read";
        case IdentityOutcome::Refused:
            return "refused";
        case IdentityOutcome::NotTaken:
            return "not-taken";
        case IdentityOutcome::Differs:
            return "differs";
        case IdentityOutcome::Unconfirmed:
            return "unconfirmed";
        case IdentityOutcome::NoBoard:
            return "no-board";
        case IdentityOutcome::BoardLost:
            return "board-lost";
    }
    return "unknown";
}

const char* OutcomeName(CertificateReadOutcome outcome) {
    switch (outcome) {
        case CertificateReadOutcome::Read:
            return "read";
        case CertificateReadOutcome::NoBlock:
            return "no-block";
        case CertificateReadOutcome::Damaged:
            return "damaged";
        case CertificateReadOutcome::TimedOut:
            return "timed-out";
        case CertificateReadOutcome::NoBoard:
            return "no-board";
        case CertificateReadOutcome::PortLost:
            return "port-lost";
    }
    return "unknown";
}

const char* OutcomeName(ProductInfoOutcome outcome) {
    switch (outcome) {
        case ProductInfoOutcome::Read:
            return "read";
        case ProductInfoOutcome::NoBoard:
            return "no-board";
        case ProductInfoOutcome::TimedOut:
            return "timed-out";
        case ProductInfoOutcome::Undecodable:
            return "undecodable";
        case ProductInfoOutcome::MalformedTail:
            return "malformed-tail";
        case ProductInfoOutcome::HeadStalled:
            return "head-stalled";
        case ProductInfoOutcome::PortLost:
            return "port-lost";
    }
    return "unknown";
}

const char* OutcomeName(NetworkInfoOutcome outcome) {
    switch (outcome) {
        case NetworkInfoOutcome::Read:
            return "read";
        case NetworkInfoOutcome::NoBoard:
            return "no-board";
        case NetworkInfoOutcome::Refused:
            return "refused";
        case NetworkInfoOutcome::TimedOut:
            return "timed-out";
        case NetworkInfoOutcome::PortLost:
            return "port-lost";
    }
    return "unknown";
}

const char* HeldName(SettingsHeld outcome) {
    switch (outcome) {
        case SettingsHeld::Old:
            return "old";
        case SettingsHeld::New:
            return "new";
        case SettingsHeld::Other:
            return "other";
        case SettingsHeld::Unknown:
            return "unknown";
    }
    return "unknown";
}

}  // namespace varnow
