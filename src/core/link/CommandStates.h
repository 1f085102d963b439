#pragma once

namespace varnow {

// Command states of the channel: the number of the one outstanding command; 0 = idle.
enum CommandState : int {
    kStateIdle = 0,
    kStateProbe = 1,
    kStateSetEsc = 2,
    kStateSetEcho = 3,
    kStateGetSysKofs = 4,
    kStateSetState = 9,  // "set state 0 run" after an upload
    kStateGetState = 5,
    kStateGetIdKofs = 6,
    kStateGetIdFib = 7,
    kStateGetIdMcu = 8,
    kStateEraseKofs = 10,
    kStateRecvKofs = 11,
    kStateSendEnvs = 12,
    kStateRecvEnvs = 13,
    kStateSendEnvc = 14,
    kStateRecvEnvc = 15,
    kStateRebootIsp = 16,
    kStateRestart = 17,   // "reboot sys 100", or "rs 10" to the boot loader
    kStatePassword = 18,  // "reboot psk 10 ..."
    kStateTestFlash = 26,
    kStateProgramFlash = 27,
    kStateLogin = 28,
    kStateGetFibMac = 30,
    kStateSendTail = 31,
    kStateUnlockFlash = 32,
    kStateEraseFlash = 33,
    kStateUnlockFlashAgain = 34,
    kStateGetUptime = 36,
    kStateNetIpv4Address = 37,
    kStateNetSubnetMask = 38,
    kStateNetGateway = 39,
    kStateNetNameServer = 40,
    kStateNetLinkLocal = 41,
    kStateNetGlobal = 42,
    kStateNetGateway6 = 43,
    kStateNetPrefix6 = 44,
    kStateNetConflictCount = 45,
    kStateNetConflictMac = 46,
    kStateNetConflictTick = 47,
    kStateSendKofsHead = 48,
    kStateGetIdPdb = 49,
    kStateGetKofsHash = 50,
    kStateWlanSsid = 51,
    kStateWlanSignal = 52,
    kStateWlanSecurity = 53,
    kStateWlanCertification = 54,
    kStateWlanEncryption = 55,
    kStateArpTable = 56,
    kStateNeighbourTable = 57,
    kStateWlanMode = 58,
};

// Timer ids of the main window. The reply timers' ids name their period.
enum TimerId : int {
    kTimerClosePortList = 1,
    kTimerProbe = 2,
    kTimerProgressStarted = 3,   // 10 ms after a progress dialog opened: its operation starts
    kTimerPortWait = 4,          // the port's return after "reboot isp 100", every 200 ms
    kTimerBootLoaderProbe = 5,   // the CRs that reach the boot loader after the reopen
    kTimerTestAccepted = 6,      // the pause after the boot loader accepted the test block
    kTimerReturnProbe = 7,       // a restarting board's port, probed every 500 ms
    kTimerCertificatePause = 8,  // after "recv envc", before its text
    kTimerStoringClock = 9,      // the seconds of the board's flash write after an upload
    kTimerOpenSettings = 10,
    kTimerOpenProductInfo = 11,
    kTimerOpenNetworkInfo = 12,
    kTimerReply1s = 1000,
    kTimerQuery1s = 1001,
    kTimerBulk1s = 1002,
    kTimerReply3s = 3000,
    kTimerReply5s = 5000,
    kTimerReply10s = 10000,
    // Bounds of waits that have no reply timer of their own, so that nothing waits for ever.
    kTimerBoardReturn = 30000,     // a restarted board found again and identified
    kTimerBootLoaderStep = 60000,  // unlock, erase and the "204" after the image
    kTimerStoring = 120000,        // the board storing the image, from "412" to "602"
};

}  // namespace varnow
