#pragma once

#include <optional>

#include "BoardAccess.h"
#include "BoardRun.h"
#include "Command.h"
#include "certs/CertificateBlock.h"
#include "certs/SelfSignedCertificate.h"
#include "certs/TlsObjects.h"

namespace varnow::cli {

// A certificate as scripts read it: subject, issuer, validity, serial, key, fingerprint.
CliOutput::Fields CertificateFields(const Certificate& certificate);

// The board's certificate records; nullopt when the read was interrupted or the board went
// (reported, `status`). A board without a block gives an empty store.
std::optional<CertificateRecordStore> ReadBoardCertificates(CommandContext& context,
                                                            BoardAccess& board,
                                                            const CliOutput::Fields& fields,
                                                            int& status);

// Gives the board the identity, carrying the records of `current`, and reads it back: the
// whole command's end, reported. Success only when the board holds the certificate written.
int StoreAndConfirm(CommandContext& context, BoardAccess& board, const TlsIdentity& identity,
                    const CertificateRecordStore& current, CliOutput::Fields& fields);

// A new key and self-signed certificate, as cert make (and the station) ask for it.
struct CertMakeRequest {
    int bits = 1024;
    CertificateSubject subject;
    bool commonNameFromBoard = true;  // the board's IPv4 address, read from its settings
    bool dryRun = false;
};

// Why the request cannot be made (an unknown country code, a field too long); nullopt when it
// can.
std::optional<OutcomeText> CheckCertMakeRequest(CommandContext& context,
                                                const CertMakeRequest& request);

// Makes the key and the certificate for a connected board and stores them, read back: the
// command's end, reported.
int MakeAndStoreCertificate(CommandContext& context, BoardAccess& board, CertMakeRequest request,
                            CliOutput::Fields& fields);

}  // namespace varnow::cli
