#pragma once

#include <string_view>

#include "link/ReplyLine.h"

namespace varnow {

class Writer;

// Connect and identify: opens the port, probes the board (or its boot loader), switches it to
// framed replies without echo, checks that its firmware and this tool fit together and reads
// its identity into the session record. Hands over to the login when the board asks for one.
class ConnectSequence {
public:
    explicit ConnectSequence(Writer& writer);

    void Connect();
    void OnProbeTimer();
    // "\rset esc 02\r": the first step after the probe, and again after a successful login.
    void SendSetEsc();
    // "get id mcu\r": also the MCU id that the login answer needs.
    void SendGetIdMcu();

private:
    void StartProbe();
    void WriteProbe(int delayMs);
    void OnProbeLine(const ReplyLine& line);
    void OnSetEscFramed(const ReplyLine& line);
    void OnSetEscUnframed(const ReplyLine& line);
    void OnSetEcho(const ReplyLine& line);
    void OnGetIdPdb(const ReplyLine& line);
    void OnGetIdFib(const ReplyLine& line);
    void OnGetIdMcuFramed(const ReplyLine& line);
    void OnGetIdMcuUnframed(const ReplyLine& line);
    // States 4 to 7: "410 " or "502 " ends the reply and the next command follows.
    void OnInfoStep(const ReplyLine& line, void (ConnectSequence::*next)());
    void SendGetIdPdb();
    void SendGetSysKofs();
    void SendGetState();
    void SendGetIdKofs();
    void SendGetIdFib();
    void Finish();
    void BeginLogin(int timerId);
    // Ends the sequence on a reply the tool cannot go on with.
    void Refuse(int stringId, int timerToCancel);

    Writer& m_writer;
    int m_probeCount = 0;
};

}  // namespace varnow
