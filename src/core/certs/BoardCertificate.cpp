#include "certs/BoardCertificate.h"

#include "ui/MessageIds.h"

namespace varnow {

BoardCertificateLookup FindBoardCertificate(const CertificateRecordStore& store) {
    const CertificateLookup lookup = FindCertificateRecord(store);
    if (lookup.result == 0) {
        return {kMsgNoCertificateInProduct, std::nullopt};
    }
    if (lookup.result < 0) {
        return {kMsgCertificateError, std::nullopt};
    }
    return {0, Certificate::FromDer(lookup.content)};
}

}  // namespace varnow
