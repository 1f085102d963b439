#pragma once

#include <optional>

#include "BoardAccess.h"
#include "BoardRun.h"
#include "Command.h"
#include "certs/CertificateBlock.h"
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

}  // namespace varnow::cli
