#pragma once

#include <optional>

#include "certs/CertificateBlock.h"
#include "certs/TlsObjects.h"

namespace varnow {

// The certificate the board holds, from its record store: "There is no certificate in the
// product." (132) when it has none or its block was unreadable, "Certificate error has been
// occurred." (133) when the record is damaged. A record whose bytes are no certificate gives
// neither a certificate nor a message.
struct BoardCertificateLookup {
    int messageId = 0;
    std::optional<Certificate> certificate;
};
BoardCertificateLookup FindBoardCertificate(const CertificateRecordStore& store);

}  // namespace varnow
