#include "ExitStatus.h"

#include <cstdio>

namespace varnow::cli {

const std::vector<ExitStatusEntry>& ExitStatusTable() {
    static const std::vector<ExitStatusEntry> table{
        {0, "success"},
        {1, "other failure"},
        {2, "bad command line (an unknown option, a missing argument, a password on it)"},
        {3,
         "package or backup refused (unreadable, not one, damaged, or without what the "
         "command needs)"},
        {4, "no board port found, several and no --port, or no port matches a usb: form"},
        {5, "the port could not be opened or set up"},
        {6, "the board did not answer, or stopped answering"},
        {7, "the board's firmware is too old for this tool"},
        {8, "the board needs a newer Varno Writer"},
        {9, "login refused, a password needed and none given, or the board kept its old one"},
        {10, "the board is in its ISP boot loader"},
        {11, "the board's port vanished, or the board did not come back after a restart"},
        {12, "the package is for another product"},
        {13, "a step of the transfer got no answer in time"},
        {14, "the board's hash of the stored image differs from the package's"},
        {15, "the board did not confirm what it stored: it may hold the new data"},
        {16, "the image could not be written to the port"},
        {17, "the boot loader did not take the firmware"},
        {18,
         "a setting was refused (an unknown key, a value the rules do not allow, or the "
         "board): nothing was written"},
        {19,
         "what was read back after a write (settings, certificate) differs from what was "
         "written"},
        {20,
         "a certificate or key file was refused (unreadable, no certificate, no key, the key "
         "not the certificate's, a key too short)"},
        {21, "the board holds no certificate, or a damaged one"},
        {22, "the board did not take the certificate"},
        {23, "a value the board reported came damaged"},
        {130, "interrupted (Ctrl-C): the port was closed"},
    };
    return table;
}

namespace {

const char* KoreanMeaning(int status) {
    switch (status) {
        case 0:
            return "성공";
        case 1:
            return "그 밖의 실패";
        case 2:
            return "잘못된 명령줄(알 수 없는 옵션, 빠진 인자, 명령줄의 비밀번호)";
        case 3:
            return "패키지나 백업을 거부함(읽을 수 없음, 패키지가 아님, 손상됨, 명령에 필요한 것이 "
                   "없음)";
        case 4:
            return "보드 포트를 찾지 못했거나, 여럿인데 --port가 없거나, usb: 형식에 맞는 포트가 "
                   "없음";
        case 5:
            return "포트를 열거나 설정할 수 없음";
        case 6:
            return "보드가 응답하지 않았거나 응답을 멈춤";
        case 7:
            return "보드의 펌웨어가 이 도구에 비해 너무 오래됨";
        case 8:
            return "보드에 더 새로운 Varno Writer가 필요함";
        case 9:
            return "로그인 거부, 비밀번호가 필요한데 주지 않음, 또는 보드가 이전 비밀번호를 유지함";
        case 10:
            return "보드가 ISP 부트 로더에 있음";
        case 11:
            return "보드의 포트가 사라졌거나, 다시 시작한 뒤 돌아오지 않음";
        case 12:
            return "패키지가 다른 제품용임";
        case 13:
            return "전송 단계가 제시간에 응답을 받지 못함";
        case 14:
            return "보드에 저장된 이미지의 해시가 패키지와 다름";
        case 15:
            return "보드가 저장한 것을 확인해 주지 않음: 새 데이터가 있을 수 있음";
        case 16:
            return "이미지를 포트에 쓸 수 없었음";
        case 17:
            return "부트 로더가 펌웨어를 받지 않음";
        case 18:
            return "설정을 거부함(알 수 없는 키, 규칙이 허용하지 않는 값, 또는 보드): 아무것도 "
                   "기록하지 않음";
        case 19:
            return "기록 뒤 다시 읽은 것(설정, 인증서)이 기록한 것과 다름";
        case 20:
            return "인증서나 키 파일을 거부함(읽을 수 없음, 인증서 없음, 키 없음, 인증서의 키가 "
                   "아님, 너무 짧은 키)";
        case 21:
            return "보드에 인증서가 없거나 손상됨";
        case 22:
            return "보드가 인증서를 받지 않음";
        case 23:
            return "보드가 알려 준 값이 손상되어 옴";
        case 130:
            return "중단됨(Ctrl-C): 포트를 닫음";
    }
    return nullptr;
}

}  // namespace

std::string ExitStatusHelp(Language language) {
    std::string text = language == Language::Korean ? "종료 상태:" : "Exit status:";
    for (const ExitStatusEntry& entry : ExitStatusTable()) {
        char line[16];
        std::snprintf(line, sizeof line, "\n%3d  ", entry.status);
        text += line;
        const char* korean = KoreanMeaning(entry.status);
        text += language == Language::Korean && korean != nullptr ? korean : entry.meaning;
    }
    return text;
}

ExitStatus StatusOf(const ConnectResult& result) {
    switch (result.code) {
        case ConnectOutcome::Identified:
            return kExitSuccess;
        case ConnectOutcome::IspMode:
            return kExitIspMode;
        case ConnectOutcome::NoPortSelected:
            return kExitNoPort;
        case ConnectOutcome::OpenFailed:
        case ConnectOutcome::SetupFailed:
            return kExitOpenFailed;
        case ConnectOutcome::BoardSilent:
        case ConnectOutcome::TimedOut:
        case ConnectOutcome::Stalled:
            return kExitBoardSilent;
        case ConnectOutcome::FirmwareTooOld:
            return kExitFirmwareTooOld;
        case ConnectOutcome::WriterTooOld:
            return kExitWriterTooOld;
        case ConnectOutcome::LoginCancelled:
        case ConnectOutcome::LoginRefused:
            return kExitLoginRefused;
        case ConnectOutcome::IdentityUnreadable:
            return kExitValuesUnreadable;
        case ConnectOutcome::PortLost:
            return kExitBoardLost;
    }
    return kExitFailure;
}

ExitStatus StatusOf(const UploadResult& result) {
    switch (result.code) {
        case UploadOutcome::Verified:
        case UploadOutcome::FirmwareOnly:
        case UploadOutcome::Unchanged:
        case UploadOutcome::DryRun:
            return kExitSuccess;
        case UploadOutcome::HashMismatch:
            return kExitHashMismatch;
        case UploadOutcome::Unverified:
            return kExitUnverified;
        case UploadOutcome::PackageRefused:
            return kExitPackageRefused;
        case UploadOutcome::ProductMismatch:
            return kExitProductMismatch;
        case UploadOutcome::IspMode:
            return kExitIspMode;
        case UploadOutcome::NoBoard:
        case UploadOutcome::BoardLost:
            return kExitBoardLost;
        case UploadOutcome::TimedOut:
        case UploadOutcome::Stalled:
            return kExitTimedOut;
        case UploadOutcome::SendFailed:
            return kExitSendFailed;
    }
    return kExitFailure;
}

ExitStatus StatusOf(const FirmwareResult& result) {
    switch (result.code) {
        case FirmwareOutcome::Upgraded:
            return kExitSuccess;
        case FirmwareOutcome::FileRefused:
            return kExitPackageRefused;
        case FirmwareOutcome::NoBoard:
        case FirmwareOutcome::BoardLost:
        case FirmwareOutcome::NotBack:
            return kExitBoardLost;
        case FirmwareOutcome::TimedOut:
        case FirmwareOutcome::Refused:
        case FirmwareOutcome::SendFailed:
            return kExitFirmwareFailed;
        case FirmwareOutcome::ReconnectFailed:
            return StatusOf(result.reconnect);
        case FirmwareOutcome::Cancelled:
            return kExitFailure;
    }
    return kExitFailure;
}

ExitStatus StatusOf(const WriteResult& result) {
    const ExitStatus upload = StatusOf(result.upload);
    if (upload != kExitSuccess || !result.firmware) {
        return upload;
    }
    return StatusOf(*result.firmware);
}

ExitStatus StatusOf(const Outcome<SettingsReadOutcome>& outcome) {
    switch (outcome.code) {
        case SettingsReadOutcome::Read:
            return kExitSuccess;
        case SettingsReadOutcome::IspMode:
            return kExitIspMode;
        case SettingsReadOutcome::TimedOut:
            return kExitBoardSilent;
        case SettingsReadOutcome::Undecodable:
            return kExitFailure;
        case SettingsReadOutcome::NoBoard:
        case SettingsReadOutcome::PortLost:
            break;
    }
    return kExitBoardLost;
}

ExitStatus StatusOf(const RestartResult& result) {
    switch (result.outcome.code) {
        case RestartOutcome::Back:
            return kExitSuccess;
        case RestartOutcome::Refused:
            return kExitFailure;
        case RestartOutcome::ReconnectFailed:
            return result.connect ? StatusOf(*result.connect) : kExitBoardLost;
        case RestartOutcome::NotBack:
        case RestartOutcome::OtherBoard:
        case RestartOutcome::NoBoard:
            break;
    }
    return kExitBoardLost;
}

ExitStatus StatusOf(const SettingsResult& result) {
    switch (result.outcome.code) {
        case SettingsOutcome::Written:
        case SettingsOutcome::Unchanged:
        case SettingsOutcome::DryRun:
            return kExitSuccess;
        case SettingsOutcome::Refused:
        case SettingsOutcome::NotSent:
        case SettingsOutcome::NotTaken:
            return kExitSettingsRefused;
        case SettingsOutcome::OtherBoard:
        case SettingsOutcome::BadBackup:
            return kExitPackageRefused;
        case SettingsOutcome::NotRead:
            return result.outcome.command.empty() ? kExitFailure : kExitBoardSilent;
        case SettingsOutcome::ChangedMeanwhile:
        case SettingsOutcome::BackupFailed:
            return kExitFailure;
        case SettingsOutcome::ReadBackDiffers:
            return kExitReadBackDiffers;
        case SettingsOutcome::Unconfirmed:
            return kExitUnverified;
        case SettingsOutcome::RestartFailed:
            return result.restart ? StatusOf(*result.restart) : kExitBoardLost;
        case SettingsOutcome::IspMode:
            return kExitIspMode;
        case SettingsOutcome::NoBoard:
        case SettingsOutcome::BoardLost:
            break;
    }
    return kExitBoardLost;
}

ExitStatus StatusOf(const PasswordResult& result) {
    switch (result.outcome.code) {
        case PasswordOutcome::Set:
        case PasswordOutcome::Deleted:
        case PasswordOutcome::Restarted:
            return kExitSuccess;
        case PasswordOutcome::Refused:
        case PasswordOutcome::OldStillTaken:
        case PasswordOutcome::NeitherTaken:
            return kExitLoginRefused;
        case PasswordOutcome::NoMcuId:
        case PasswordOutcome::McuIdUnsure:
            return kExitValuesUnreadable;
        case PasswordOutcome::TimedOut:
            return kExitBoardSilent;
        case PasswordOutcome::ReconnectFailed:
            return result.restart ? StatusOf(*result.restart) : kExitBoardLost;
        case PasswordOutcome::IspMode:
            return kExitIspMode;
        case PasswordOutcome::NotBack:
        case PasswordOutcome::OtherBoard:
        case PasswordOutcome::NoBoard:
        case PasswordOutcome::BoardLost:
            break;
    }
    return kExitBoardLost;
}

ExitStatus StatusOf(const IdentityResult& result) {
    switch (result.outcome.code) {
        case IdentityOutcome::Stored:
        case IdentityOutcome::DryRun:
            return kExitSuccess;
        case IdentityOutcome::KeyNotRsa:
        case IdentityOutcome::KeyMismatch:
        case IdentityOutcome::KeyTooShort:
        case IdentityOutcome::CertificateDamaged:
        case IdentityOutcome::NotPacked:
            return kExitFileRefused;
        case IdentityOutcome::KeyFailed:
            return kExitFailure;
        case IdentityOutcome::NotRead:
            return result.outcome.command.empty() ? kExitFailure : kExitBoardSilent;
        case IdentityOutcome::Refused:
            return kExitCertificateRefused;
        case IdentityOutcome::NotTaken:
        case IdentityOutcome::Differs:
            return kExitReadBackDiffers;
        case IdentityOutcome::Unconfirmed:
            return kExitUnverified;
        case IdentityOutcome::NoBoard:
        case IdentityOutcome::BoardLost:
            break;
    }
    return kExitBoardLost;
}

ExitStatus StatusOf(const CertificateReadResult& result) {
    switch (result.outcome.code) {
        case CertificateReadOutcome::Read:
        case CertificateReadOutcome::NoBlock:
            return kExitSuccess;
        case CertificateReadOutcome::Damaged:
            return kExitNoCertificate;
        case CertificateReadOutcome::TimedOut:
            return kExitBoardSilent;
        case CertificateReadOutcome::NoBoard:
        case CertificateReadOutcome::PortLost:
            break;
    }
    return kExitBoardLost;
}

ExitStatus StatusOf(const ProductInfoResult& result) {
    switch (result.outcome.code) {
        case ProductInfoOutcome::Read:
            return result.unreadable.empty() ? kExitSuccess : kExitValuesUnreadable;
        case ProductInfoOutcome::TimedOut:
        case ProductInfoOutcome::HeadStalled:
            return kExitBoardSilent;
        case ProductInfoOutcome::Undecodable:
        case ProductInfoOutcome::MalformedTail:
            return kExitValuesUnreadable;
        case ProductInfoOutcome::NoBoard:
        case ProductInfoOutcome::PortLost:
            break;
    }
    return kExitBoardLost;
}

ExitStatus StatusOf(const NetworkInfoResult& result) {
    switch (result.outcome.code) {
        case NetworkInfoOutcome::Read:
            return result.unreadable.empty() ? kExitSuccess : kExitValuesUnreadable;
        case NetworkInfoOutcome::Refused:
            return kExitFailure;
        case NetworkInfoOutcome::TimedOut:
            return kExitBoardSilent;
        case NetworkInfoOutcome::NoBoard:
        case NetworkInfoOutcome::PortLost:
            break;
    }
    return kExitBoardLost;
}

}  // namespace varnow::cli
