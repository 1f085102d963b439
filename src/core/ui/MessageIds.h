#pragma once

namespace varnow {

// Ids of the string table's texts that the core shows.
enum MessageId : int {
    kMsgNoBoardPort = 107,
    kMsgSelectComPort = 108,
    kTextConnecting = 117,
    kMsgInitialSettingFailed = 118,
    kMsgIspModeNoScript = 119,
    kMsgOpenComPort = 122,
    kTextUpdatingFiles = 123,
    kMsgSynchronizationFailed = 125,
    kMsgSetValuesFailed = 126,
    kMsgGetConfigurationFailed = 147,
    kMsgNoConfigurationValue = 148,
    kMsgSaveCertificateFailed = 150,
    kMsgPasswordMismatch = 152,
    kMsgPasswordTooShort = 153,
    kTextSettingPassword = 154,
    kTextStandby = 155,
    kMsgFirmwareTransmitted = 157,
    kMsgFirmwareChangeFailed = 158,
    kMsgNoQvkFile = 161,
    kMsgIspModeRefusal = 162,
    kTextProductIdError = 163,
    kMsgRestartForLanguage = 164,
    kMsgUpgradeFirmware = 166,
    kMsgUseLastWriter = 167,
    kMsgHashMismatch = 200,
    kMsgImageTooLarge = 201,
    kMsgCertificateTooLarge = 202,
};

}  // namespace varnow
